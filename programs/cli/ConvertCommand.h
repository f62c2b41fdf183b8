#pragma once
// korvel-convert: worksheet documents to delimited text and back.
#include <iosfwd>
#include <string>
#include <vector>

namespace korvel::cli {

// Exit status: 0 converted, 1 the input broke a rule or a limit (OUT untouched),
// 2 a file cannot be read or written or the usage is wrong.
int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korvel::cli
