// reader_fuzzer  libFuzzer target for one reader of outside bytes, named by QUORVEX_FUZZ_TARGET
// at build time: every input must pass that reader's properties (ReaderProperties).
#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tools/fuzz/ReaderProperties.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);  // the listing parse yields to its event loop
    ReaderProperties::UseZoneWithDaylightSaving();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString fault = ReaderProperties::Check(QStringLiteral(QUORVEX_FUZZ_TARGET), bytes);
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", QUORVEX_FUZZ_TARGET, qPrintable(fault));
        std::abort();
    }
    return 0;
}
