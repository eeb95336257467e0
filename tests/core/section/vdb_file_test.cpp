#include "core/section/vdb_file.h"

#include <clocale>
#include <cstring>
#include <random>

#include "tests/commands/section/section_test_support.h"
#include "tests/core/section/vdb_test_support.h"

namespace orv::testing {
namespace {

class VdbFileTest : public SectionTest {
 protected:
  ScratchFolder scratch;
  std::string dir = scratch.path();
  ZeroedBlock<SectionDatabase> other;
};

// One profile, one point of three readings, two layers and one HBV line: the
// smallest database that exercises every record.
void smallDatabase(SectionDatabase& db) {
  setText(db.fileName, "/data/lokalita ž.vdb");
  setTextFromUtf8(db.localityName, "Lhota");
  setTextFromUtf8(db.countryName, "Česko");
  setTextFromUtf8(db.regionName, "Vysočina");
  SectionProfile& pf = db.profiles[0];
  setTextFromUtf8(pf.profileName, "pf 1");
  pf.mxindex_bodu = 0;
  pf.num_IPoken = 2;
  pf.span_IPoken = 40, pf.zpozdeni_IPoken = 20, pf.OnTime = 2000, pf.OffTime = 2000;
  pf.LeadTime = 100, pf.TailTime = 50;
  pf.ipWindowFrom[0] = 20, pf.ipWindowTo[0] = 60, pf.ipWindowMid[0] = 40;
  pf.ipWindowFrom[1] = 60, pf.ipWindowTo[1] = 100, pf.ipWindowMid[1] = 80;
  SectionPoint& pt = pf.points[0];
  setTextFromUtf8(pt.pointName, "bod tři slova");
  setText(pt.measureDate, "5.6.2003");
  setTextFromUtf8(pt.operatorName, "Novák");
  pt.surfaceChainage = 10.5f, pt.pointX = 11, pt.pointY = -2.25f, pt.pointZ = 350.125f;
  pt.profileChainage = 10.5f, pt.fitError = 0.0125f;
  pt.Mermx = 3, pt.ABmx = 1, pt.MNmx = 1, pt.MDLmx = 1, pt.nABmn = 3;
  const float ab[] = {1, 1.5f, 2.25f};
  for (int m = 0; m < 3; ++m) {
    pt.AO[m] = ab[m], pt.MO[m] = 0.5f, pt.Rmer[m] = 100.0f + 10 * m, pt.iMN[m] = 1;
    pt.ipValue[m][0] = 1.5f, pt.ipValue[m][1] = 2.5f, pt.ipValue[m][2] = 9;  // no window 2
  }
  pt.compositeRho[3] = 50.5f, pt.compositeRho[4] = 60.25f, pt.compositeRho[5] = 70;
  pt.layerRho[0] = 100, pt.layerDepth[0] = -4.5f;  // depth fixed
  pt.layerRho[1] = -150, pt.layerDepth[1] = 0;     // half-space, resistivity fixed
  pf.HBV_pocet = 1;
  pf.HBV_pocetBodu[0] = 2;
  pf.HBV_x[0][0] = 0, pf.HBV_z[0][0] = 350, pf.HBV_x[0][1] = 10.5f, pf.HBV_z[0][1] = 349.75f;
}

std::string row(const char* first, const char* ip) {
  std::string r = std::string("  ") + first + " " + ip;
  for (int k = 2; k < MaxIpWindows; ++k) r += " 0.000000";
  return r;
}

const std::string SmallDatabaseBytes = vdbRecords({
    "název_souboru: /data/lokalita ž.vdb",
    "mxindex_lokalit: 0",
    "název_lokality: Lhota",
    "jméno_země: Česko",
    "jméno_kraje: Vysočina",
    "mxindex_profilu: 0",
    "název_profilu: pf 1",
    "mxindex_bodu: 0",
    "num_IPoken: 2",
    "span_IPoken: 40",
    "zpozdeni_IPoken: 20",
    "OnTime: 2000",
    "OffTime: 2000",
    "LeadTime: 100",
    "TailTime: 50",
    "oknaVP: Od Do TimestreduOkna",
    "20 60 40",
    "60 100 80",
    "název_bodu_VES: bod tři slova",
    "datum_měření_bodu: 5.6.2003",
    "operátor_bodu: Novák",
    "poznámka_k_bodu: ",
    "metráž_dle_terénu: 10.500000 X: 11.000000 Y: -2.250000 Z: 350.125000 "
    "metráž_bodu_na_pf: 10.500000",
    "chyba_SSQ_bodu_VES: 0.012500",
    "ABmx: 1 MNmx: 1 MDLmx: 1 Mermx: 3 nABmn: 3",
    "  AO  MO  Rmer  iMN  Rsnesená VPokno1 VPokno2 VPokno3 až VPokno20",
    row("1.000000 0.500000 100.000000 1 50.500000", "1.500000 2.500000"),
    row("1.500000 0.500000 110.000000 1 60.250000", "1.500000 2.500000"),
    row("2.250000 0.500000 120.000000 1 0.000000", "1.500000 2.500000"),
    " Rmodelu  Dmodeluminusjefix",
    "  100.000000 -4.500000",
    "  -150.000000 0.000000",
    " HBV_pocet: 1",
    " HBV_pocetBodu: 2",
    " HBV_ihbv HBV_ibod HBV_x HBV_z",
    "  0 0 0.000000 350.000000",
    "  0 1 10.500000 349.750000",
    "__měřítko_X_pro_pf: 0.000100",
    "__měřítko_Y_pro_pf: 0.001000",
});

TEST_F(VdbFileTest, WritesTheExactRecordsUnderAnyLocale) {
  smallDatabase(db());
  ASSERT_TRUE(saveTo(db(), dir + "c.vdb"));
  EXPECT_EQ(fileBytes(dir + "c.vdb"), SmallDatabaseBytes);

  // The user's locale writes and reads decimal commas; the file never does.
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "cs_CZ.UTF-8"), nullptr) << "locale cs_CZ.UTF-8 missing";
  ASSERT_TRUE(saveTo(db(), dir + "cs.vdb"));
  const VdbReadResult r = readVdb(*other, (dir + "cs.vdb").c_str());
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(fileBytes(dir + "cs.vdb"), SmallDatabaseBytes);
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(r.truncated);
  EXPECT_EQ(r.pointsRead, 1);
  EXPECT_EQ(other->profiles[0].points[0].pointZ, 350.125f);
}

TEST_F(VdbFileTest, ReadsBackWhatItWrote) {
  smallDatabase(db());
  ASSERT_TRUE(saveTo(db(), dir + "a.vdb"));
  fillPoint(other->profiles[0].points[0], 7, 50, 0, 60, 9);  // an earlier database
  ASSERT_EQ(readVdb(*other, (dir + "a.vdb").c_str()).code, 1);
  const SectionProfile& pf = other->profiles[0];
  SectionPoint want = db().profiles[0].points[0];
  want.compositeRho[5] = 0;  // row 2 carries no composite value
  for (int m = 0; m < 3; ++m) want.ipValue[m][2] = 0;
  expectSamePoint(want, pf.points[0]);
  EXPECT_EQ(pf.points[0].compositeRho[3], 50.5f);
  EXPECT_EQ(pf.points[0].compositeRho[4], 60.25f);
  EXPECT_EQ(pf.points[0].compositeRho[5], 0.0f);
  EXPECT_EQ(pf.points[0].compositeRho[30], 0.0f);  // not carried: not the earlier value
  EXPECT_EQ(shownText(pf.points[0].pointName), "bod tři slova");
  EXPECT_EQ(pf.points[0].layerRho[1], -150.0f);
  EXPECT_EQ(shownText(other->countryName), "Česko");
  EXPECT_EQ(pf.num_IPoken, 2);
  EXPECT_EQ(pf.ipWindowMid[1], 80);
  EXPECT_EQ(pf.TailTime, 50);
  EXPECT_EQ(pf.HBV_pocet, 1);
  EXPECT_EQ(pf.HBV_pocetBodu[0], 2);
  EXPECT_EQ(pf.HBV_z[0][1], 349.75f);
  EXPECT_EQ(pf.scaleZ, 0.001f);
}

TEST_F(VdbFileTest, EmptyProfileIsItsNameCountIpBlockHbvCountAndScales) {
  smallDatabase(db());
  db().mxindex_profilu = 1;
  setText(profile(1).profileName, "prazdny");
  profile(1).mxindex_bodu = -1;
  profile(1).num_IPoken = 0;
  ASSERT_TRUE(saveTo(db(), dir + "e.vdb"));
  const std::string bytes = fileBytes(dir + "e.vdb");
  const std::string tail =
      vdbRecords({"", "název_profilu: prazdny", "mxindex_bodu: -1", "num_IPoken: 0",
                  "span_IPoken: 0", "zpozdeni_IPoken: 0", "OnTime: 0", "OffTime: 0", "LeadTime: 0",
                  "TailTime: 0", "oknaVP: Od Do TimestreduOkna", " HBV_pocet: 0",
                  "__měřítko_X_pro_pf: 0.000100", "__měřítko_Y_pro_pf: 0.001000"});
  ASSERT_GE(bytes.size(), tail.size());
  EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
  other->profiles[1].mxindex_bodu = 5;
  other->profiles[1].HBV_pocet = 3;
  ASSERT_EQ(readVdb(*other, (dir + "e.vdb").c_str()).pointsRead, 1);
  EXPECT_EQ(other->mxindex_profilu, 1);
  EXPECT_EQ(other->profiles[1].mxindex_bodu, -1);
  EXPECT_EQ(other->profiles[1].num_IPoken, 0);
  EXPECT_EQ(other->profiles[1].HBV_pocet, 0);
  EXPECT_EQ(other->profiles[1].scaleX, 0.0001f);
}

// A file of the oldest layout: profile 0 has neither IP block nor HBV block
// nor scale lines, and its rows only the five measured columns; profile 1
// follows directly with the full layout.
TEST_F(VdbFileTest, OlderLayoutsAreReadAndSavedInTheNewOne) {
  const std::string old = vdbRecords({"název_souboru: x.vdb",
                                      "mxindex_lokalit: 0",
                                      "název_lokality: L",
                                      "jméno_země: C",
                                      "jméno_kraje: K",
                                      "mxindex_profilu: 1",
                                      "název_profilu: stary",
                                      "mxindex_bodu: 0",
                                      "název_bodu_VES: b1",
                                      "datum_měření_bodu: d",
                                      "operátor_bodu: o",
                                      "poznámka_k_bodu: p",
                                      "metráž_dle_terénu: 1 X: 2 Y: 3 Z: 4 metráž_bodu_na_pf: 5",
                                      "chyba_SSQ_bodu_VES: 0.5",
                                      "ABmx: 1 MNmx: 1 MDLmx: 0 Mermx: 2 nABmn: 0",
                                      "  AO  MO  Rmer  iMN  Rsnesená",
                                      "  1.0 0.5 100 1 100",
                                      "  1.5 0.5 120 1 120",
                                      " Rmodelu  Dmodeluminusjefix",
                                      "  110 0",
                                      "název_profilu: novy",
                                      "mxindex_bodu: -1",
                                      "num_IPoken: 0",
                                      "span_IPoken: 0",
                                      "zpozdeni_IPoken: 0",
                                      "OnTime: 0",
                                      "OffTime: 0",
                                      "LeadTime: 0",
                                      "TailTime: 0",
                                      "oknaVP: Od Do TimestreduOkna",
                                      " HBV_pocet: 0",
                                      "__měřítko_X_pro_pf: 0.000200",
                                      "__měřítko_Y_pro_pf: 0.002000"});
  putBytes(dir + "old.vdb", old);
  profile(0).num_IPoken = 5;
  profile(0).HBV_pocet = 4;
  fillPoint(profile(0).points[0], 3);  // its IP values must not survive
  const VdbReadResult r = readVdb(db(), (dir + "old.vdb").c_str());
  EXPECT_FALSE(r.truncated);
  EXPECT_EQ(db().mxindex_profilu, 1);
  EXPECT_EQ(profile(0).num_IPoken, NoIpInformation);
  EXPECT_EQ(profile(0).HBV_pocet, 0);
  EXPECT_EQ(profile(0).scaleX, 0.00004f);  // 1:25000
  EXPECT_EQ(profile(0).scaleZ, 0.0003f);   // 1:3333
  EXPECT_EQ(profile(0).points[0].Rmer[1], 120.0f);
  EXPECT_EQ(profile(0).points[0].ipValue[1][0], 0.0f);
  EXPECT_EQ(textOf(profile(1).profileName), "novy");
  EXPECT_EQ(profile(1).mxindex_bodu, -1);
  EXPECT_EQ(profile(1).scaleX, 0.0002f);

  ASSERT_TRUE(saveTo(db(), dir + "new.vdb"));
  const std::string bytes = fileBytes(dir + "new.vdb");
  EXPECT_NE(bytes.find(vdbRecords({"mxindex_bodu: 0", "num_IPoken: -10"})), std::string::npos);
  EXPECT_NE(bytes.find(vdbRecords({"oknaVP: Od Do TimestreduOkna", "název_bodu_VES: b1"})),
            std::string::npos);
  EXPECT_NE(bytes.find(row("1.500000 0.500000 120.000000 1 120.000000", "0.000000 0.000000")),
            std::string::npos);
}

// --- round trip over generated databases ---------------------------------------------

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool chance(int n) { return pick(1, n) == 1; }
  float real() {
    const float magnitude = std::pow(10.0f, std::uniform_real_distribution<float>(-4, 6)(rng_));
    return chance(3) ? -magnitude : magnitude;
  }
  template <std::size_t N>
  void text(char (&buf)[N]) {
    static const std::string letters =
        utf8ToCp1250("aábcčdďeéěfghiíjklmnňoópqrřsštťuúůvwxyýzžAÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ019 .,-_:");
    const std::size_t n = chance(20) ? N + 5 : static_cast<std::size_t>(pick(0, 30));
    std::string t;
    for (std::size_t i = 0; i < n; ++i) t += letters[pick(0, int(letters.size()) - 1)];
    setText(buf, t);
  }
  // Mostly small, now and then at the capacity.
  int count(int lo, int small, int capacity) { return chance(25) ? capacity : pick(lo, small); }

  void database(SectionDatabase& db) {
    text(db.localityName), text(db.countryName), text(db.regionName);
    db.mxindex_profilu = count(0, 2, MaxProfiles - 1);
    for (int p = 0; p <= db.mxindex_profilu; ++p) profile(db.profiles[p], db.mxindex_profilu > 2);
  }

 private:
  void profile(SectionProfile& pf, bool many) {
    text(pf.profileName);
    pf.mxindex_bodu = many ? pick(-1, 1) : count(-1, 3, MaxPointsPerProfile - 1);
    const bool bigPoints = pf.mxindex_bodu < 4;
    pf.num_IPoken = chance(4) ? NoIpInformation : pick(0, MaxIpWindows);
    for (int32_t* t : {&pf.span_IPoken, &pf.zpozdeni_IPoken, &pf.OnTime, &pf.OffTime, &pf.LeadTime,
                       &pf.TailTime})
      *t = pick(-100, 100000);
    for (int k = 0; k < MaxIpWindows; ++k)
      pf.ipWindowFrom[k] = pick(0, 9999), pf.ipWindowTo[k] = pick(0, 9999),
      pf.ipWindowMid[k] = pick(-9, 9999);
    for (int b = 0; b <= pf.mxindex_bodu; ++b) point(pf.points[b], bigPoints);
    pf.HBV_pocet = many ? pick(0, 1) : count(0, 3, MaxHbvLines);
    for (int l = 0; l < pf.HBV_pocet; ++l) {
      pf.HBV_pocetBodu[l] = chance(15) ? HbvLineJustOpened : count(0, 6, MaxHbvVertices);
      for (int v = 0; v < MaxHbvVertices; ++v) pf.HBV_x[l][v] = real(), pf.HBV_z[l][v] = real();
    }
    pf.scaleX = real(), pf.scaleZ = real();
  }

  void point(SectionPoint& pt, bool big) {
    text(pt.pointName), text(pt.measureDate), text(pt.operatorName), text(pt.pointNote);
    for (float* v : {&pt.surfaceChainage, &pt.pointX, &pt.pointY, &pt.pointZ, &pt.profileChainage,
                     &pt.fitError})
      *v = real();
    pt.Mermx = big ? count(0, 30, MaxReadings) : pick(0, 3);
    pt.ABmx = pick(0, GridCells - 1), pt.nABmn = pick(0, GridCells - 1);
    pt.MNmx = pick(1, MaxBranch), pt.MDLmx = pick(0, MaxLayers - 1);
    for (int m = 0; m < pt.Mermx; ++m) {
      pt.AO[m] = real(), pt.MO[m] = real(), pt.Rmer[m] = real(), pt.iMN[m] = pick(1, 5);
      for (int k = 0; k < MaxIpWindows; ++k) pt.ipValue[m][k] = real();
    }
    for (float& c : pt.compositeRho) c = real();
    for (int i = 0; i <= pt.MDLmx; ++i) pt.layerRho[i] = real(), pt.layerDepth[i] = real();
  }

  std::mt19937 rng_;
};

TEST_F(VdbFileTest, WriteReadWriteGivesTheSameBytes) {
  // The blocks are used again from seed to seed: whatever a database left
  // beyond its counts must stay invisible to the next one.
  SectionDatabase& a = db();
  SectionDatabase& b = *other;
  setText(a.fileName, "/x/ž.vdb");
  setText(b.fileName, "/x/ž.vdb");
  for (unsigned seed = 1; seed <= 300; ++seed) {
    Generator g(seed);
    g.database(a);
    g.database(b);  // read over: nothing of it may show
    ASSERT_TRUE(saveTo(a, dir + "1.vdb"));
    const VdbReadResult r = readVdb(b, (dir + "1.vdb").c_str());
    ASSERT_EQ(r.code, 1);
    ASSERT_FALSE(r.truncated) << "seed " << seed;
    ASSERT_TRUE(saveTo(b, dir + "2.vdb"));
    const std::string first = fileBytes(dir + "1.vdb"), second = fileBytes(dir + "2.vdb");
    if (first != second) {
      std::size_t at = 0;
      while (at < first.size() && at < second.size() && first[at] == second[at]) ++at;
      FAIL() << "seed " << seed << " differs at byte " << at << ": "
             << first.substr(at < 60 ? 0 : at - 60, 120) << "\n---\n"
             << second.substr(at < 60 ? 0 : at - 60, 120);
    }
  }
}

TEST_F(VdbFileTest, AFullCapacityProfileSurvives) {
  for (int b = 0; b < MaxPointsPerProfile; ++b)
    fillPoint(profile(0).points[b], b + 1, MaxReadings, 0, GridCells - 1, MaxLayers - 1);
  profile(0).mxindex_bodu = MaxPointsPerProfile - 1;
  profile(0).num_IPoken = MaxIpWindows;
  ASSERT_TRUE(saveTo(db(), dir + "full.vdb"));
  const VdbReadResult r = readVdb(*other, (dir + "full.vdb").c_str());
  EXPECT_FALSE(r.truncated);
  ASSERT_EQ(r.pointsRead, MaxPointsPerProfile);
  for (int b = 0; b < MaxPointsPerProfile; b += 1 + b / 4) {
    SectionPoint& want = profile(0).points[b];
    // The composite column runs in the reading rows from cell nABmn = 0.
    expectSamePoint(want, other->profiles[0].points[b]);
    if (::testing::Test::HasFailure()) FAIL() << "point " << b;
  }
}

// --- bad files -------------------------------------------------------------------------

// A file of three points cut at several places, read over a database full of
// other points: the counts become what was read, and saving it again gives
// what reading it into a fresh database gives, so nothing older shows.
struct Cut {
  const char* after;  // the file ends before the first occurrence of this record
  int occurrence;
  int profiles, points, hbvLines;
  int keep = 0;  // ... or so many bytes into it
};

class VdbTruncationTest : public VdbFileTest, public ::testing::WithParamInterface<Cut> {};

TEST_P(VdbTruncationTest, CountsBecomeWhatWasRead) {
  const Cut cut = GetParam();
  db().mxindex_profilu = 1;
  givePoints(3);
  profile(0).num_IPoken = 3;
  profile(0).HBV_pocet = 2;
  profile(0).HBV_pocetBodu[0] = profile(0).HBV_pocetBodu[1] = 4;
  profile(1).mxindex_bodu = 0;
  fillPoint(profile(1).points[0], 9);
  ASSERT_TRUE(saveTo(db(), dir + "all.vdb"));
  std::string bytes = fileBytes(dir + "all.vdb");
  std::size_t at = 0;
  for (int n = 0; n < cut.occurrence; ++n) at = bytes.find(utf8ToCp1250(cut.after), at + 1);
  ASSERT_NE(at, std::string::npos);
  putBytes(dir + "cut.vdb", bytes.substr(0, at + cut.keep));

  ZeroedBlock<SectionDatabase> fresh;
  setInitialDatabaseState(*fresh);
  for (int b = 0; b < MaxPointsPerProfile; ++b) fillPoint(other->profiles[0].points[b], 50 + b);
  other->profiles[0].mxindex_bodu = MaxPointsPerProfile - 1;
  other->mxindex_profilu = 5;
  setText(other->localityName, "stara");
  const VdbReadResult r = readVdb(*other, (dir + "cut.vdb").c_str());
  ASSERT_EQ(readVdb(*fresh, (dir + "cut.vdb").c_str()).pointsRead, r.pointsRead);
  EXPECT_TRUE(r.truncated);
  EXPECT_EQ(other->mxindex_profilu, cut.profiles - 1);
  EXPECT_EQ(r.pointsRead, cut.points);
  EXPECT_EQ(other->profiles[0].HBV_pocet, cut.hbvLines);
  ASSERT_TRUE(saveTo(*other, dir + "again.vdb"));
  ASSERT_TRUE(saveTo(*fresh, dir + "fresh.vdb"));
  EXPECT_EQ(fileBytes(dir + "again.vdb"), fileBytes(dir + "fresh.vdb"));
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, VdbTruncationTest,
    ::testing::Values(Cut{"mxindex_lokalit", 1, 1, 0, 0}, Cut{"mxindex_bodu", 1, 1, 0, 0},
                      Cut{"OffTime", 1, 1, 0, 0}, Cut{"poznámka_k_bodu", 1, 1, 0, 0},
                      Cut{"  1001.500000", 1, 1, 0, 0}, Cut{"\r\n  21.000000 ", 1, 1, 1, 0},
                      Cut{"datum_měření_bodu", 3, 1, 2, 0}, Cut{" HBV_ihbv", 2, 1, 3, 2},
                      Cut{"__měřítko_Y", 1, 1, 3, 2}, Cut{"název_bodu_VES", 4, 2, 3, 2},
                      Cut{"  9001.500000", 1, 2, 3, 2},
                      // Two profiles announced, none there.
                      Cut{"název_profilu", 1, 1, 0, 0},
                      // The last profile's scales missing, or the last one cut to "0.00".
                      Cut{"__měřítko_X", 2, 2, 4, 2}, Cut{"__měřítko_Y", 2, 2, 4, 2, 24}));

TEST_F(VdbFileTest, CountsOutsideTheCapacitiesAreCutBeforeTheyBoundALoop) {
  smallDatabase(db());
  ASSERT_TRUE(saveTo(db(), dir + "ok.vdb"));
  const std::string ok = fileBytes(dir + "ok.vdb");
  const struct {
    const char* from;
    const char* to;
  } edits[] = {{"mxindex_profilu: 0", "mxindex_profilu: 99"},
               {"mxindex_profilu: 0", "mxindex_profilu: -5"},
               {"mxindex_bodu: 0", "mxindex_bodu: 100000"},
               {"mxindex_bodu: 0", "mxindex_bodu: -7"},
               {"num_IPoken: 2", "num_IPoken: 77"},
               {"num_IPoken: 2", "num_IPoken: -3"},
               {"Mermx: 3", "Mermx: 999"},
               {"MDLmx: 1", "MDLmx: -4"},
               {"MDLmx: 1", "MDLmx: 31"},
               {"nABmn: 3", "nABmn: 198"},
               {"nABmn: 3", "nABmn: -50"},
               {"HBV_pocet: 1", "HBV_pocet: 4000"},
               {"HBV_pocetBodu: 2", "HBV_pocetBodu: 171"},
               {"HBV_pocetBodu: 2", "HBV_pocetBodu: -2"}};
  for (const auto& e : edits) {
    std::string bytes = ok;
    const std::size_t at = bytes.find(e.from);
    ASSERT_NE(at, std::string::npos) << e.from;
    bytes.replace(at, std::strlen(e.from), e.to);
    putBytes(dir + "bad.vdb", bytes);
    const VdbReadResult r = readVdb(*other, (dir + "bad.vdb").c_str());
    ASSERT_EQ(r.code, 1) << e.to;
    const SectionDatabase& d = *other;
    EXPECT_TRUE(d.mxindex_profilu >= 0 && d.mxindex_profilu < MaxProfiles) << e.to;
    for (int p = 0; p <= d.mxindex_profilu; ++p) {
      const SectionProfile& pf = d.profiles[p];
      EXPECT_TRUE(pf.mxindex_bodu >= -1 && pf.mxindex_bodu < MaxPointsPerProfile) << e.to;
      EXPECT_TRUE(pf.num_IPoken == NoIpInformation || (pf.num_IPoken >= 0 && pf.num_IPoken <= 20));
      EXPECT_TRUE(pf.HBV_pocet >= 0 && pf.HBV_pocet <= MaxHbvLines) << e.to;
      for (int l = 0; l < pf.HBV_pocet; ++l) EXPECT_LE(pf.HBV_pocetBodu[l], MaxHbvVertices);
      for (int b = 0; b <= pf.mxindex_bodu; ++b) {
        const SectionPoint& pt = pf.points[b];
        EXPECT_TRUE(pt.Mermx >= 0 && pt.Mermx <= MaxReadings) << e.to;
        EXPECT_TRUE(pt.MDLmx >= 0 && pt.MDLmx < MaxLayers) << e.to;
        EXPECT_TRUE(pt.nABmn >= 0 && pt.ABmx < GridCells) << e.to;
      }
    }
    // Whatever was read is written within the capacities again.
    EXPECT_TRUE(saveTo(d, dir + "again.vdb"));
  }
}

TEST_F(VdbFileTest, MalformedValuesLeaveTheirFieldsAndLongLinesAreCut) {
  smallDatabase(db());
  ASSERT_TRUE(saveTo(db(), dir + "ok.vdb"));
  std::string bytes = fileBytes(dir + "ok.vdb");
  bytes.replace(bytes.find("Y: -2.250000"), 12, "Y: abc");
  const std::string note = utf8ToCp1250("poznámka_k_bodu: ");
  bytes.insert(bytes.find(note) + note.size(), std::string(10000, 'n'));
  bytes.replace(bytes.find("chyba_SSQ_bodu_VES: 0.012500"), 28, "chyba_SSQ_bodu_VES: nan");
  putBytes(dir + "bad.vdb", bytes);
  SectionPoint& before = other->profiles[0].points[0];
  before.pointX = before.pointY = before.pointZ = before.profileChainage = -77;
  before.fitError = 9;
  const VdbReadResult r = readVdb(*other, (dir + "bad.vdb").c_str());
  EXPECT_FALSE(r.truncated);
  const SectionPoint& pt = other->profiles[0].points[0];
  EXPECT_EQ(pt.pointX, 11.0f);
  // sscanf stops at the first field that does not convert.
  EXPECT_EQ(pt.pointY, -77.0f);
  EXPECT_EQ(pt.pointZ, -77.0f);
  EXPECT_EQ(pt.profileChainage, -77.0f);
  EXPECT_EQ(pt.fitError, 9.0f);
  EXPECT_EQ(textOf(pt.pointNote), std::string(sizeof pt.pointNote - 1, 'n'));
  EXPECT_EQ(pt.Mermx, 3);  // the tail of the long line is not a record of its own
  EXPECT_EQ(pt.layerRho[1], -150.0f);
}

TEST_F(VdbFileTest, MissingFileOrFolderCannotBeOpened) {
  db().profiles[0].mxindex_bodu = 4;
  EXPECT_EQ(readVdb(db(), (dir + "none.vdb").c_str()).code, 0);
  EXPECT_EQ(readVdb(db(), dir.c_str()).code, 0);
  EXPECT_EQ(db().profiles[0].mxindex_bodu, 4);
}

}  // namespace
}  // namespace orv::testing
