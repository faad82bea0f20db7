#include "columns/grid_column.h"

namespace qv {

int32_t GridColumn::ColumnWidth() const {
    switch (m_lParameterId) {
        case 23:
        case 24:
            return 495;
        case 11:
            return 533;
        case 6:
            return 550;
        case 1387:
            return 630;
        case 7:
        case 8:
        case 9:
        case 18:
        case 19:
        case 20:
        case 21:
        case 25:
        case 26:
        case 318:
            return 675;
        case 1:
        case 10:
            return 690;
        case 22:
        case 31:
        case 33:
            return 765;
        case 1409:
            return 780;
        case 2:
        case 3:
        case 12:
        case 13:
        case 14:
        case 15:
        case 228:
            return 855;
        case 5:
            return 875;
        case 30:
        case 40:
        case 251:
            return 900;
        case 29:
        case 34:
        case 1390:
            return 960;
        case 28:
            return 1000;
        case 1395:
        case 1404:
        case 1405:
            return 1050;
        case 1399:
        case 1401:
            return 1140;
        case 17:
            return 1155;
        case 16:
            return 1170;
        case 1396:
        case 1397:
        case 1402:
        case 1407:
        case 1410:
            return 1230;
        case 32:
            return 1250;
        case 1388:
        case 1389:
            return 1275;
        case 1347:
            return 1400;
        case 37:
        case 221:
        case 225:
        case 236:
        case 1391:
        case 1392:
            return 1500;
        case 4:
            return 1620;
        case 36:
            return 2129;
        case 35:
            return 2500;
        default:
            return 0;
    }
}

}  // namespace qv
