#include "PeImage.h"

#include "platform/foundation/BoundedRun.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace docshelf::testing {

namespace {

std::string ReadAll(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string Trimmed(const std::string& text)
{
    auto first = text.find_first_not_of(" \t\r");
    auto last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

}

PeImage::PeImage(std::filesystem::path file, const std::string& objdump)
    : file_(std::move(file)), bytes_(ReadAll(file_))
{
    auto dump = foundation::BoundedRun::run(objdump, {"-p", file_.string()}, std::chrono::minutes(1));
    if (dump.succeeded())
        headers_ = dump.out() + dump.err();
}

std::uintmax_t PeImage::size() const
{
    return bytes_.size();
}

std::set<std::string> PeImage::imports() const
{
    // objdump lists each DLL as "DLL Name: X" followed by one line per function
    // ("vma  hint  name"), up to an empty line.
    std::set<std::string> found;
    std::istringstream in(headers_);
    std::string line;
    std::string dll;
    while (std::getline(in, line)) {
        std::string text = Trimmed(line);
        if (text.rfind("DLL Name:", 0) == 0) {
            dll = Trimmed(text.substr(9));
            continue;
        }
        if (text.empty()) {
            dll.clear();
            continue;
        }
        if (dll.empty() || text.rfind("vma:", 0) == 0)
            continue;
        std::istringstream fields(text);
        std::string vma, hint, name;
        if (fields >> vma >> hint >> name)
            found.insert(dll + ":" + name);
    }
    return found;
}

std::string PeImage::headerField(const std::string& field) const
{
    std::istringstream in(headers_);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0)
            return Trimmed(line.substr(field.size()));
    }
    return "";
}

bool PeImage::contains(const std::string& bytes) const
{
    return bytes_.find(bytes) != std::string::npos;
}

std::string PeImage::Utf16(const std::string& ascii)
{
    std::string wide;
    for (char c : ascii) {
        wide.push_back(c);
        wide.push_back('\0');
    }
    return wide;
}

}
