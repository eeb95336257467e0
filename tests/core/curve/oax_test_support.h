// Synthetic OAX files for the reader tests: the IP header with a chosen
// timing, reading blocks with a chosen number of decay samples, plain rows.
#pragma once

#include <string>

#include "base/c_format.h"

namespace orv::testing {

inline std::string oaxIpHeader(int onTime, int leadTime, int tailTime) {
  return "ODRAM VES-VP\r\n14.05.2026 11:19:10\r\nlokalita\r\nbod\r\n;[Nastaveni]\r\n"
         ";\tZacatekOknaVP=100\r\n;\tKonecOknaVP=1750\r\n;\t[Filtr]\r\n"
         ";\t[Impulse.Measurement]\r\n" +
         cformat(";\tOnTime=%d\r\n;\tOffTime=2000\r\n;\tLeadTime=%d\r\n", onTime, leadTime) +
         cformat(";\tDeadTime=40\r\n;\tTailTime=%d\r\n;\tSamplingPeriod=40\r\n", tailTime) +
         ";\r\nnam\xec\xf8"
         "en\xe9 hodnoty: Uo[mV] I[mA] Rz[Ohm.m]\r\n";
}

// A row of thirteen columns and the clock time the instrument appends.
inline std::string oaxRow(float rho, float abHalf, float mnHalf, int branch) {
  return cformat("662.2 20.05 %g 33.0 2.356 2.3 4 %g %g %g 1.00 %d 14.0 11:20:35\r\n",
                 static_cast<double>(rho), static_cast<double>(abHalf),
                 static_cast<double>(abHalf * 2), static_cast<double>(mnHalf), branch);
}

// A "U" block of samples (times 2040, 2060, ...; values 10 + s), an "I"
// block and the row.
inline std::string oaxBlock(float rho, float abHalf, int samples, int branch = 1) {
  std::string b = cformat("U %d\r\n", samples);
  for (int k = 0; k < samples; ++k) b += cformat("%d %d.5\r\n", 2040 + 20 * k, 10 + k);
  b += "I 2\r\n2040 0.010\r\n2060 0.002\r\n";
  return b + oaxRow(rho, abHalf, 0.5f, branch);
}

}  // namespace orv::testing
