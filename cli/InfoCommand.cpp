#include <cstdio>
#include <string>

#include "CliCommands.h"
#include "files/TableFile.h"

namespace tabulon::cli {

int RunInfo(const Args& args) {
    if (args.size() != 1) {
        throw UsageError("info FILE");
    }
    TableModel model;
    OpenTableFile(model, InputPath(args[0]));
    std::string widths;
    for (int c = 0; c < model.ColCount(); ++c) {
        widths += (c ? " " : "") + std::to_string(model.GetColWidth(c));
    }
    std::printf("columns %d\nrows %d\nwidths %s\n", model.ColCount(), model.RowCount(),
                widths.c_str());
    return kExitOk;
}

}  // namespace tabulon::cli
