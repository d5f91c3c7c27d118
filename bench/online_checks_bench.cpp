// What the start-up's online checks cost when nobody answers: the update
// file and the connectivity test downloaded from the configured hosts
// (TONARA_UPDATE_HOST, TONARA_INFO_HOST; the unresolvable defaults when unset).
//   online_checks_bench [runs]
#include "Download.h"
#include "Endpoints.h"
#include "Folders.h"

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace tonara;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QTemporaryDir folder;
    std::vector<double> spent;
    int arrived = 0;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        arrived += Download(updateFileAddress(), joinPath(folder.path(), "updatetonara.txt"));
        arrived += Download(connectivityTestAddress(), joinPath(folder.path(), "testcon.dat"));
        spent.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(spent.begin(), spent.end());
    std::printf("update host: %s\ninformation host: %s\n", qPrintable(updateFileAddress()),
                qPrintable(connectivityTestAddress()));
    std::printf("%d runs of both downloads: median %.1f ms, worst %.1f ms; %d of %d downloads arrived\n", runs,
                spent[spent.size() / 2], spent.back(), arrived, 2 * runs);
    return 0;
}
