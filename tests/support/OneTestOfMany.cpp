#include "TestClassRegistry.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Filled by the classes' static initialisers, before main.
std::map<std::string, one_test_of_many::Run>& classes() {
    static std::map<std::string, one_test_of_many::Run> added;
    return added;
}

int usage(const char* program, const char* problem) {
    std::fprintf(stderr, "%s\nusage: %s TEST-CLASS [Qt Test options]\nclasses:", problem, program);
    for (const auto& [name, run] : classes()) std::fprintf(stderr, " %s", name.c_str());
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

bool one_test_of_many::add(const char* className, Run run) {
    return classes().emplace(className, run).second;
}

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') return usage(argv[0], "no test class named");
    const auto found = classes().find(argv[1]);
    if (found == classes().end()) return usage(argv[0], "no such test class");
    // The class's name is the program's, not one of Qt Test's options.
    std::vector<char*> arguments(argv, argv + argc);
    arguments.erase(arguments.begin() + 1);
    arguments.push_back(nullptr);
    return found->second(argc - 1, arguments.data());
}
