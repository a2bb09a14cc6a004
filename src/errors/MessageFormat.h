#pragma once
#include <cstddef>
#include <initializer_list>
#include <string>

// Fills the "%s" places of a message text with the arguments in order and
// cuts the result to capacity - 1 characters, as a fixed buffer would.
// Only "%s" and "%%" are understood: a stray "%d" in a table text is
// copied as it stands instead of reading an argument that is not there, and
// a missing argument leaves its place empty.
std::string formatMessage(const char* format, std::initializer_list<const char*> arguments, std::size_t capacity);
