#pragma once
#include <functional>
#include <string>

// File permissions only bind a user without special rights, and tests often
// run as root in containers. Runs the action as an ordinary user: directly
// when we are one; as root, in a child process that has become "nobody",
// after handing the folder tree over to that user. True when the action
// returned true.
bool asPlainUser(const std::string& tree, const std::function<bool()>& action);
