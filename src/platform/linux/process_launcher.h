// Starting a program and forgetting it: no shell, no zombie left behind.
#pragma once

#include <string>
#include <vector>

namespace quorvel::linux_os {

// Runs `argv` (argv[0] looked up in PATH) in a grandchild process: the child
// forks it and exits at once, and is reaped here, so the program never
// keeps a zombie and never waits for the launched program. False when the
// child could not be started.
bool LaunchDetached(const std::vector<std::string>& argv);

}  // namespace quorvel::linux_os
