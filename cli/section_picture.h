// orv-cli section: a profile of a section database drawn as the section
// window draws it, written as a PNG picture.
#pragma once

namespace orv::cli {

// argv[1] is "section". Returns the exit code; reports on stderr.
int runSectionPicture(int argc, char** argv);

}  // namespace orv::cli
