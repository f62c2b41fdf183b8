// gridsetup: installs the grid control's module file. Arguments are ignored
// and the exit code is always 0; the outcome is shown in at most one box.
#include "ResultBox.h"

#include <csignal>

int main()
{
    // Under a file-size limit the copy's write must fail like any other
    // failed write, so that the temporary file is removed and the run ends
    // normally, instead of the signal killing the process half way.
    std::signal(SIGXFSZ, SIG_IGN);
    gridsetup::RunGridSetup();
    return 0;
}
