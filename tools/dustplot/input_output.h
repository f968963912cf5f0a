#pragma once

#include <string>
#include <string_view>

constexpr const char* StdStreamName = "-";
constexpr const char* StdinLabel = "(standard input)";

// The whole content of a file, or of standard input for "-". Raises EFileError.
std::string ReadInput(const std::string& path);

// Writes text to a file, or to standard output for "-". Raises EFileError.
void WriteOutput(const std::string& path, std::string_view text);
