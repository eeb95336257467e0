// orv-cli export: a profile of a section database exported as the section
// window's export menu does it: DXF drawing, contouring grid or JPEG picture.
#pragma once

namespace orv::cli {

// argv[1] is "export". Returns the exit code; reports on stderr.
int runExport(int argc, char** argv);

}  // namespace orv::cli
