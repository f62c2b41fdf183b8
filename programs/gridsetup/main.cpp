// gridsetup: installs the grid control's module file. Arguments are ignored
// and the exit code is always 0; the outcome is shown in at most one box.
#include "ResultBox.h"

int main()
{
    gridsetup::RunGridSetup();
    return 0;
}
