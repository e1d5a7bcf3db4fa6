#pragma once

#include <string>
#include <vector>

namespace qbr::cli {

// Each command takes the words after its name and returns the exit status:
// 0 done, 1 an error of the system (its text on standard error), 2 a usage error.
using Command = int (*)(const std::vector<std::string>& words);

int scanCommand(const std::vector<std::string>& words);
int listCommand(const std::vector<std::string>& words);
int showCommand(const std::vector<std::string>& words);
int configCommand(const std::vector<std::string>& words);
int salvageCommand(const std::vector<std::string>& words);
int archiveCommand(const std::vector<std::string>& words);
int searchCommand(const std::vector<std::string>& words);
int missingCommand(const std::vector<std::string>& words);
int orphansCommand(const std::vector<std::string>& words);
int exportCommand(const std::vector<std::string>& words);

// Prints a usage error and returns 2.
int usageError(const std::string& message);

} // namespace qbr::cli
