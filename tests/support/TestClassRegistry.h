#pragma once

// The test classes of a program of several (OneTestOfMany.h), by name. Free of Qt, so that the
// program's main parses none of its headers.
namespace one_test_of_many {

using Run = int (*)(int argc, char** argv);

// Returns false when a class of that name was added before.
bool add(const char* className, Run run);

}  // namespace one_test_of_many
