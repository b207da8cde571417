// Prints the chi-square and RS figures of clean, classic and sealed pictures
// made from each picture given (the photographs of the benchmark corpus, say),
// at 5, 10, 25 and 50 percent of each format's capacity.
//   sealed_steganalysis_table PICTURE...
#include <cstdio>

#include "Steganalysis.h"
#include "SteganalysisBench.h"
#include "engine/Failure.h"

int main(int argc, char** argv) {
    using namespace steganalysis;
    std::printf("%-16s %-8s %5s %10s %10s %9s  %s\n", "picture", "format", "share", "chi2 start", "chi2 all", "RS",
                "verdict");
    for (int i = 1; i < argc; ++i) {
        try {
            const stego::MemoryCarrier picture = carrierOf(stego::platform::loadPicture(argv[i]));
            const auto row = [&](const char* format, double share, const Verdict& v) {
                std::printf("%-16.16s %-8s %4.0f%% %10.4f %10.4f %+9.4f  %s\n", argv[i], format, 100 * share,
                            v.chiSquareStart, v.chiSquareWhole, v.rs, v.flagged() ? "flagged" : "clean");
                std::fflush(stdout);
            };
            row("none", 0, analyse(picture));
            for (const double share : {0.05, 0.10, 0.25, 0.50}) {
                stego::MemoryCarrier classic = picture;
                embedClassic(classic, share);
                row("classic", share, analyse(classic));
                stego::MemoryCarrier sealedPicture = picture;
                embedSealed(sealedPicture, share);
                row("sealed", share, analyse(sealedPicture));
            }
        } catch (const stego::Failure& failure) {
            std::fprintf(stderr, "%s: %s\n", argv[i], failure.what());
            return 1;
        }
    }
    return 0;
}
