// Saving never overwrites a file: a name that is taken gives way to the base
// name with its extension replaced by a numbered one (lok.vdb -> lok.vdb_1,
// lok.vdb_2, ...), and the first name that does not exist is created.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace orv {

// Candidate n of the numbering: base with its extension (the part of its file
// name from the last dot on; none for a name without a dot) replaced by
// numberedExtension followed by n in decimal and afterNumber (so that a table
// stays a table: x.csv -> x_1.csv). n = 0 is base itself.
std::string numberedName(std::string_view base, std::string_view numberedExtension, int n,
                         std::string_view afterNumber = {});

struct NewFile {
  std::FILE* file = nullptr;  // open for writing in binary mode; nullptr on failure
  std::string name;           // the name created, or the last one tried
};

// Creates first when no file of that name exists, otherwise the first numbered
// candidate of base that does not exist. The file is created exclusively, so
// a file that appears between the test and the creation is never truncated:
// the numbering just goes on. Fails (file nullptr) when a name that does not
// exist cannot be created, or when the numbering runs out.
NewFile createNextFreeFile(const std::string& first, std::string_view base,
                           std::string_view numberedExtension, std::string_view afterNumber = {});

}  // namespace orv
