// The uploader: sends the file that the main program handed over in snd.ini
// to the upload address (TONARA_UPLOAD_URL) and ends. With no address
// configured it sends nothing.
#include "Folders.h"
#include "Leftovers.h"
#include "UploadHandOver.h"

#include <cstdio>

int main() {
    tonara::exportTempFolder(); // a bare local name is looked for in the same folder as the program that asked
    tonara::removeLeftovers();  // an uploader killed while it took the hand-over left it under a fresh name
    const QString problem = tonara::sendHandedOverFile();
    if (problem.isEmpty()) return 0;
    std::fprintf(stderr, "ftpSend: %s\n", qPrintable(problem));
    return 1;
}
