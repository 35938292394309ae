#pragma once

#include <string>
#include <string_view>

namespace docshelf {

// The command lines that open a document. Values go between double quotes; the
// four characters the shell still reads there (" $ ` \) get a backslash, so any
// path or address reaches the opener as the very same single argument.
//   document("/Vol/A B/top.html", "open")          -> open "/Vol/A B/top.html"
//   document("/d/$HOME\"x", "open")                -> open "/d/\$HOME\"x"
//   documentWithApplication("/d/top.pdf", "/Applications/R.app")
//                                                  -> open "/d/top.pdf" -a "/Applications/R.app"
class OpenCommand {
public:
    static std::string document(std::string_view target, std::string_view opener);
    static std::string documentWithApplication(std::string_view target, std::string_view application);
    static std::string quoted(std::string_view value);
};

}
