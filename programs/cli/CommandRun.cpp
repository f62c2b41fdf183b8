#include "programs/cli/CommandRun.h"

#include <exception>
#include <new>
#include <ostream>

namespace korvel::cli {

int RunCommand(const std::string& program, bool help, const std::string& usage, std::ostream& out, std::ostream& err,
               const std::function<int()>& command) {
    if (help) {
        out << usage;
        return 0;
    }
    try {
        return command();
    } catch (const std::bad_alloc&) {
        // Its what() names a type, not the fault.
        err << program << ": not enough memory\n";
        return 2;
    } catch (const std::exception& e) {
        err << program << ": " << e.what() << "\n";
        return 2;
    }
}

}  // namespace korvel::cli
