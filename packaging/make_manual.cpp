// Writes the manual page with the numbers it shares with the program taken from the program's
// own symbols, so that the two never disagree.
#include "PhoneWait.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: quorvel_make_manual TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();
    std::string manual = text.str();
    const std::string placeholder = "@PHONE_LIMIT_S@";
    const std::string seconds = std::to_string(PhoneWait::kLimitMs / 1000);
    for (auto at = manual.find(placeholder); at != std::string::npos;
         at = manual.find(placeholder, at + seconds.size()))
        manual.replace(at, placeholder.size(), seconds);
    std::ofstream out(argv[2]);
    out << manual;
    return in && out ? 0 : 1;
}
