// Loads one table file as Open does and prints the process's peak resident
// memory beside the file's size: the memory a loaded table costs.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/TableFile.h"
#include "text/Error.h"

namespace {

long PeakKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: peak_memory FILE\n", stderr);
        return 2;
    }
    const std::string path = std::filesystem::absolute(argv[1]).string();
    const long before = PeakKiB();
    tabulon::TableModel model;
    try {
        tabulon::OpenTableFile(model, path);
    } catch (const tabulon::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    const double fileMiB = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
    const double peakMiB = static_cast<double>(PeakKiB()) / 1024;
    std::printf("%-40s file %7.1f MiB  peak %7.1f MiB (%.2f x file; %.1f MiB at start)  %d x %d\n",
                std::filesystem::path(path).filename().c_str(), fileMiB, peakMiB, peakMiB / fileMiB,
                static_cast<double>(before) / 1024, model.ColCount(), model.RowCount());
    return 0;
}
