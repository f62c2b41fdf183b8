#pragma once
// What Tavo's command line asks for. No Qt.
#include <string>
#include <vector>

namespace korvel {

struct CommandLineRequest {
    enum Kind { FileNew, FileOpen };
    Kind kind = FileNew;
    std::string fileName;
};

// args without the program name. A single argument that is not an option
// (does not start with '-') and is not empty names a document to open; every
// other command line asks for a new worksheet.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& args);

}  // namespace korvel
