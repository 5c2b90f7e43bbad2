// claim_holder  A stand-in for a second Quorvex process that is writing a calendar file or an HTML
// output folder: it claims the file or folder as a run does, says so, and holds the claim until
// its standard input ends.
//
//   claim_holder file|folder PATH
//
// Prints one line: "taken" (then holds until standard input ends), "held" (another run, of any
// process, holds it) or "failed" (it cannot be opened). Exit status 0, or 2 for a wrong call.
#include <QString>
#include <cstdio>
#include <cstring>

#include "platform/OutputFileClaim.h"

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "file") != 0 && std::strcmp(argv[1], "folder") != 0)) {
        std::fprintf(stderr, "usage: claim_holder file|folder PATH\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    const OutputFileClaim::Result result = std::strcmp(argv[1], "file") == 0
                                               ? OutputFileClaim::TakeFile(path, {})
                                               : OutputFileClaim::TakeFolder(path, {});
    switch (result.status) {
        case OutputFileClaim::Status::Taken:
            std::puts("taken");
            break;
        case OutputFileClaim::Status::Held:
            std::puts("held");
            return 0;
        case OutputFileClaim::Status::Failed:
            std::puts("failed");
            return 0;
    }
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return 0;
}
