#include "CliCommands.h"
#include "Error.h"
#include "Messages.h"
#include "TableFile.h"

namespace tabulon::cli {

int RunConvert(const Args& args) {
    if (args.size() != 2) {
        throw UsageError("convert IN OUT");
    }
    const std::string out = FullPath(args[1]);
    // Refuse an unknown output type before reading anything.
    if (FormatOfPath(out) == TableFormat::Other) {
        throw Error(std::string(messages::kUnsupportedExtension));
    }
    TableModel model;
    OpenTableFile(model, FullPath(args[0]));
    SaveTableFile(model, out);
    return kExitOk;
}

}  // namespace tabulon::cli
