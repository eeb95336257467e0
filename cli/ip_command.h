// orv-cli ip: the IP values of an OAX sounding as the curve window computes
// them, and the IP grid for Surfer.
#pragma once

namespace orv::cli {

// orv-cli ip FILE.OAX [--dat OUT.DAT]; returns the exit code.
int runIp(int argc, char** argv);

}  // namespace orv::cli
