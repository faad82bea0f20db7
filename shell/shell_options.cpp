#include "shell/shell_options.h"

#include "outside/text_util.h"
#include "outside/vb_date.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <utility>

namespace qv {

const char* const kShellUsage =
    "usage: qorvant-viewer [MODE] [OPTIONS]\n"
    "\n"
    "Without a mode, opens the viewer window on the list the options choose (by default the\n"
    "list and scope it showed when last closed, on the latest trading day; on a first run the\n"
    "stock list).\n"
    "\n"
    "modes (no display needed):\n"
    "  --print              print the list as the grids show it, the frozen columns first\n"
    "  --print-pdf FILE.pdf print every row of the list to FILE.pdf in pages, with its page\n"
    "                       header, on the page setup saved last\n"
    "  --export FILE.csv    write every row of the list to FILE.csv, as the grid formats it\n"
    "  --screens            list the owner's screens and the shipped ones\n"
    "  --save-screen NAME   keep --screen-criteria (and --screen-rows) as the owner's screen\n"
    "                       NAME, replacing the owner's screen of that name\n"
    "  --delete-screen NAME delete the owner's screen NAME\n"
    "  --help               show this text\n"
    "  --screenshot FILE    open the window, save a picture of it to FILE and quit (the\n"
    "                       window's remembered settings are neither read nor written)\n"
    "  --png FILE.png       draw a chart, quick test, dividends or option page (--chart..., or\n"
    "                       --page with its address) off screen into FILE.png, at --size\n"
    "                       (default 1280x800); --date is the chart's last day\n"
    "\n"
    "options:\n"
    "  --size WxH           the window's size in pixels (default: the size it last had)\n"
    "  --db PATH            the market database (default: as qorvant-market finds it; a first\n"
    "                       run creates the sample market there, in a folder that exists)\n"
    "  --server URL         use the facade server at URL (http://host:port) instead of the\n"
    "                       database; the password is QV_PASSWORD's (the headless modes need\n"
    "                       it), else the window asks for it\n"
    "  --user NAME          the name to log in to the server with\n"
    "  --type TYPE          stocks, industries, sectors, stock-history, industry-history,\n"
    "                       sector-history, finder (a screen's rows: by default the\n"
    "                       shipped screen Rated Buy) or portfolio\n"
    "  --date YYYY-MM-DD    the day of the list (default: the latest trading day; a day\n"
    "                       without trading shows the trading day before it, and says so)\n"
    "  --industry CODE      only this industry group (a history: its history)\n"
    "  --sector CODE        only this sector (a history: its history)\n"
    "  --watch-list ID      only the stocks or industry groups of this watch list\n"
    "  --portfolio NAME|ID  this portfolio, by its name (any letter case) or id (a portfolio\n"
    "                       list: default the owner's first)\n"
    "  --symbol SYMBOL      the stock of a stock history\n"
    "  --screen NAME        the finder list of this screen, the owner's or a shipped one\n"
    "                       (any letter case)\n"
    "  --screen-criteria TEXT  the finder list of these criteria, such as\n"
    "                       \"RSRank >= 80 AND Price > MA200\"\n"
    "  --screen-rows KIND   what --screen-criteria finds: stocks (the default), industries\n"
    "                       or sectors\n"
    "  --rows N             at most N rows; 0 for every row (default: the owner's setting,\n"
    "                       and for a history its last 90 days)\n"
    "  --chart SYMBOL[,SYMBOL...]  the graph of these stocks (with --png; several are\n"
    "                       drawn as lines from 100)\n"
    "  --chart-industry CODE[,CODE...]  the graph of these industry groups (with --png)\n"
    "  --chart-sector CODE[,CODE...]    the graph of these sectors (with --png)\n"
    "  --advanced           the chart's advanced edition: 50- and 200-day averages and\n"
    "                       relative strength\n"
    "  --page ADDRESS       once the list shows, open this page address in the window, as a\n"
    "                       choice in the list's menu would (pagecontroller.aspx?pagetype=37\n"
    "                       &symbol=QA opens the details of QA)\n"
    "\n"
    "Without --server, the window asks for the password of the server File > Connect to\n"
    "server… last chose (Cancel uses the database).\n"
    "\n"
    "A name or code the market does not hold, or a day outside its data, is an error (exit 1),\n"
    "as is a list the viewer could not read, a screen the owner has not (the screens are\n"
    "named) and criteria the market cannot read (where and why is said). Notes on what\n"
    "differs from the request go to stderr.\n";

namespace {

constexpr std::array<std::pair<const char*, int32_t>, 8> kTypeNames = {{
    {"stocks", vt_Stocks},
    {"industries", vt_Industries},
    {"sectors", vt_Sectors},
    {"stock-history", vt_StockHistory},
    {"industry-history", vt_IndustryHistory},
    {"sector-history", vt_SectorHistory},
    {"finder", vt_FinderResults},
    {"portfolio", vt_Portfolio},
}};

constexpr std::array<std::pair<const char*, int32_t>, 3> kScreenRowNames = {{
    {"stocks", 0},
    {"industries", 1},
    {"sectors", 2},
}};

constexpr std::array<std::pair<const char*, const char*>, 3> kChartOptions = {{
    {"--chart", "pagecontroller.aspx?pagetype=10&symbol="},
    {"--chart-industry", "pagecontroller.aspx?pagetype=11&indcode="},
    {"--chart-sector", "pagecontroller.aspx?pagetype=12&sectorcode="},
}};

class ArgumentReader {
  public:
    explicit ArgumentReader(const std::vector<std::string>& p_args) : m_args(p_args) {}

    bool AtEnd() const { return m_lNext >= m_args.size(); }
    const std::string& Next() { return m_args[m_lNext++]; }
    const std::string& ValueOf(const std::string& p_sOption) {
        if (AtEnd()) {
            throw UsageError(p_sOption + " needs a value");
        }
        return Next();
    }
    int32_t NumberOf(const std::string& p_sOption, int32_t p_lMinimum) {
        const std::string& text = ValueOf(p_sOption);
        int32_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < p_lMinimum) {
            throw UsageError(p_sOption + " needs a number of at least " +
                             std::to_string(p_lMinimum) + ", not '" + text + "'");
        }
        return value;
    }

  private:
    const std::vector<std::string>& m_args;
    size_t m_lNext = 0;
};

void SetMode(ShellOptions& p_oOptions, ShellMode p_eMode, const std::string& p_sOption) {
    if (p_oOptions.m_eMode != ShellMode::Window || !p_oOptions.m_sScreenshotPath.empty()) {
        throw UsageError(p_sOption + " cannot be combined with another mode");
    }
    p_oOptions.m_eMode = p_eMode;
}

// A screen chosen is shown in the finder list.
bool ReadScreenOption(const std::string& p_sOption, ArgumentReader& p_reader,
                      ViewerRequest& p_oRequest) {
    if (p_sOption == "--screen") {
        p_oRequest.m_sScreenName = p_reader.ValueOf(p_sOption);
    } else if (p_sOption == "--screen-criteria") {
        p_oRequest.m_sScreenCriteria = p_reader.ValueOf(p_sOption);
    } else if (p_sOption == "--screen-rows") {
        const std::string& name = p_reader.ValueOf(p_sOption);
        const auto* kind =
            std::find_if(kScreenRowNames.begin(), kScreenRowNames.end(),
                         [&name](const auto& p_kind) { return name == p_kind.first; });
        if (kind == kScreenRowNames.end()) {
            throw UsageError("--screen-rows needs stocks, industries or sectors, not '" + name +
                             "'");
        }
        p_oRequest.m_lScreenRows = kind->second;
    } else {
        return false;
    }
    p_oRequest.m_lViewerType = vt_FinderResults;
    return true;
}

bool WholeNumber(std::string_view p_sText, int32_t& p_lValue) {
    const char* const end = p_sText.data() + p_sText.size();
    const auto [last, error] = std::from_chars(p_sText.data(), end, p_lValue);
    return error == std::errc() && last == end;
}

// A portfolio is chosen by its id or by its name; a name that is a number is taken as the id.
void ReadPortfolio(const std::string& p_sText, ViewerRequest& p_oRequest) {
    const std::string_view name = TrimWhitespace(p_sText);
    int32_t id = 0;
    const bool numeric = WholeNumber(name, id);
    if (name.empty() || (numeric && id < 1)) {
        throw UsageError("--portfolio needs a portfolio's name or id, not '" + p_sText + "'");
    }
    if (numeric) {
        p_oRequest.m_lPortfolioId = id;
        return;
    }
    p_oRequest.m_sPortfolioName = std::string(name);
}

// Reads one option of the list to show; false when p_sOption is none of them.
bool ReadListOption(const std::string& p_sOption, ArgumentReader& p_reader,
                    ViewerRequest& p_oRequest) {
    if (p_sOption == "--type") {
        const std::string& name = p_reader.ValueOf(p_sOption);
        p_oRequest.m_lViewerType = ViewerTypeNamed(name);
        if (p_oRequest.m_lViewerType < 0) {
            throw UsageError("unknown list type '" + name + "'");
        }
    } else if (p_sOption == "--date") {
        const std::string& text = p_reader.ValueOf(p_sOption);
        if (!ParseDayText(text, p_oRequest.m_lDate)) {
            throw UsageError("--date needs a date such as 2026-11-30, not '" + text + "'");
        }
    } else if (p_sOption == "--industry") {
        p_oRequest.m_lIndCode = p_reader.NumberOf(p_sOption, 1);
    } else if (p_sOption == "--sector") {
        p_oRequest.m_lSectorCode = p_reader.NumberOf(p_sOption, 1);
    } else if (p_sOption == "--watch-list") {
        p_oRequest.m_lWatchListId = p_reader.NumberOf(p_sOption, 1);
    } else if (p_sOption == "--portfolio") {
        ReadPortfolio(p_reader.ValueOf(p_sOption), p_oRequest);
    } else if (p_sOption == "--symbol") {
        p_oRequest.m_sSymbol = p_reader.ValueOf(p_sOption);
    } else if (p_sOption == "--rows") {
        p_oRequest.m_lMaxRows = p_reader.NumberOf(p_sOption, 0);
    } else {
        return ReadScreenOption(p_sOption, p_reader, p_oRequest);
    }
    return true;
}

// The graph options make the address of the graph page, as the list's menu would raise it; the
// edition is --advanced's, wherever it stands.
bool ReadChartOption(const std::string& p_sOption, ArgumentReader& p_reader,
                     ShellOptions& p_oOptions) {
    for (const auto& [name, address] : kChartOptions) {
        if (p_sOption == name) {
            p_oOptions.m_sPageAddress =
                std::string(address) + p_reader.ValueOf(p_sOption) + "&iwp=0";
            return true;
        }
    }
    if (p_sOption != "--advanced") {
        return false;
    }
    p_oOptions.m_bAdvancedChart = true;
    return true;
}

void ReadSize(const std::string& p_sText, ShellOptions& p_oOptions) {
    const std::string_view text(p_sText);
    const size_t x = text.find('x');
    if (x == std::string_view::npos || !WholeNumber(text.substr(0, x), p_oOptions.m_lWidth) ||
        !WholeNumber(text.substr(x + 1), p_oOptions.m_lHeight) || p_oOptions.m_lWidth < 200 ||
        p_oOptions.m_lHeight < 150) {
        throw UsageError("--size needs a size such as 1280x800 (at least 200x150), not '" +
                         p_sText + "'");
    }
}

}  // namespace

int32_t ViewerTypeNamed(const std::string& p_sName) {
    for (const auto& [name, type] : kTypeNames) {
        if (p_sName == name || p_sName == std::to_string(type)) {
            return type;
        }
    }
    return -1;
}

ShellOptions ParseShellOptions(const std::vector<std::string>& p_args) {
    ShellOptions options;
    ArgumentReader reader(p_args);
    while (!reader.AtEnd()) {
        const std::string option = reader.Next();
        if (option == "--help" || option == "-h") {
            options.m_eMode = ShellMode::Help;
            return options;
        }
        if (option == "--print") {
            SetMode(options, ShellMode::Print, option);
        } else if (option == "--print-pdf") {
            SetMode(options, ShellMode::PrintPdf, option);
            options.m_sPdfPath = reader.ValueOf(option);
        } else if (option == "--export") {
            SetMode(options, ShellMode::Export, option);
            options.m_sExportPath = reader.ValueOf(option);
        } else if (option == "--screenshot") {
            SetMode(options, ShellMode::Window, option);
            options.m_sScreenshotPath = reader.ValueOf(option);
        } else if (option == "--png") {
            SetMode(options, ShellMode::ChartPng, option);
            options.m_sPngPath = reader.ValueOf(option);
        } else if (option == "--screens") {
            SetMode(options, ShellMode::ListScreens, option);
        } else if (option == "--save-screen" || option == "--delete-screen") {
            SetMode(options,
                    option == "--save-screen" ? ShellMode::SaveScreen : ShellMode::DeleteScreen,
                    option);
            options.m_oRequest.m_sScreenName = reader.ValueOf(option);
        } else if (ReadChartOption(option, reader, options)) {
            continue;
        } else if (option == "--db") {
            options.m_sDatabase = reader.ValueOf(option);
        } else if (option == "--server") {
            options.m_sServer = reader.ValueOf(option);
        } else if (option == "--user") {
            options.m_sUser = reader.ValueOf(option);
        } else if (option == "--page") {
            options.m_sPageAddress = reader.ValueOf(option);
        } else if (option == "--size") {
            ReadSize(reader.ValueOf(option), options);
        } else if (ReadListOption(option, reader, options.m_oRequest)) {
            options.m_bListChosen = true;
        } else {
            throw UsageError("unknown option '" + option + "'");
        }
    }
    if (options.m_eMode == ShellMode::SaveScreen && options.m_oRequest.m_sScreenCriteria.empty()) {
        throw UsageError("--save-screen needs the screen's --screen-criteria");
    }
    return options;
}

}  // namespace qv
