// Runs orv-cli as a user's script would and keeps what it printed.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace cli_test {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream b;
  b << in.rdbuf();
  return b.str();
}

// args as on a shell command line after "orv-cli".
inline CliRun run(const std::string& args) {
  // CTest runs the cases in parallel processes: each needs files of its own.
  const std::string base =
      ::testing::TempDir() + "orv_cli_run_" + std::to_string(static_cast<long>(getpid()));
  const std::string command =
      std::string(ORV_CLI_PATH) + " " + args + " >" + base + ".out 2>" + base + ".err";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(base + ".out"), readAll(base + ".err")};
}

using Table = std::vector<std::vector<std::string>>;

// Tab-separated output as rows of fields.
inline Table table(const std::string& text) {
  Table rows;
  std::stringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::stringstream cells(line);
    std::string field;
    while (std::getline(cells, field, '\t')) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

}  // namespace cli_test
