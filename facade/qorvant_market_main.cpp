// qorvant-market: creates, imports into and inspects the market database of the viewer.
//
//   qorvant-market [--db PATH] create [--stocks N] [--seed S] [--industries N] [--days N]
//                                     [--no-demo]
//   qorvant-market [--db PATH] import FOLDER-OR-FILE... [--demo]
//   qorvant-market [--db PATH] info
//   qorvant-market [--db PATH] portfolio import FILE --owner ID --name NAME
//
// Progress of long work goes to standard error; results to standard output.
#include <string>
#include <vector>

#include "facade/market_command.h"

int main(int argc, char** argv) {
    const qv::facade::MarketCommand command{"qorvant-market", "PATH", qv::facade::OpenMarketFile};
    return qv::facade::RunMarketCommand(command, std::vector<std::string>(argv + 1, argv + argc));
}
