// The section database: one locality of up to 20 profiles of up to 420
// interpreted sounding points. Plain fixed arrays, allocated zero-filled once
// by the section window; counts follow the file format's conventions (index of
// the last element for profiles, points, readings-grid and model; element
// counts for readings, IP windows and HBV lines).
#pragma once

#include <cstdint>
#include <type_traits>

#include "core/curve/curve_window_state.h"

namespace orv {

inline constexpr int MaxProfiles = 20;
inline constexpr int MaxPointsPerProfile = 420;
inline constexpr int MaxHbvLines = 200;
inline constexpr int MaxHbvVertices = 170;

// currentPoint right after a new profile has been created.
inline constexpr int32_t NoPointYet = -2;
// num_IPoken of a profile read from a file without IP information.
inline constexpr int32_t NoIpInformation = -10;
// HBV_pocetBodu of a line just opened by a double click.
inline constexpr int32_t HbvLineJustOpened = -10;

struct SectionPoint {
  char pointName[200];
  char measureDate[100];
  char operatorName[100];
  char pointNote[400];
  float surfaceChainage;
  float pointX, pointY, pointZ;
  float profileChainage;
  float fitError;
  int32_t Mermx;
  float AO[MaxReadings];
  float MO[MaxReadings];
  float Rmer[MaxReadings];
  int32_t iMN[MaxReadings];
  int32_t MNmx;
  int32_t nABmn, ABmx;
  float compositeRho[GridCells];
  float ipValue[MaxReadings][MaxIpWindows];
  int32_t MDLmx;
  // Negative values mark a parameter fixed for the inversion.
  float layerRho[MaxLayers];
  float layerDepth[MaxLayers];
};

struct SectionProfile {
  char profileName[200];
  int32_t mxindex_bodu;
  SectionPoint points[MaxPointsPerProfile];
  int32_t num_IPoken;
  int32_t span_IPoken;
  int32_t zpozdeni_IPoken;
  int32_t OnTime, OffTime, LeadTime, TailTime;
  int32_t ipWindowFrom[MaxIpWindows];
  int32_t ipWindowTo[MaxIpWindows];
  int32_t ipWindowMid[MaxIpWindows];
  float scaleX;
  float scaleZ;
  int32_t HBV_pocet;
  int32_t HBV_pocetBodu[MaxHbvLines];
  float HBV_x[MaxHbvLines][MaxHbvVertices];
  float HBV_z[MaxHbvLines][MaxHbvVertices];
  int32_t terrainBreakCount;
  float terrainBreakChainage[MaxPointsPerProfile];
  float terrainBreakElevation[MaxPointsPerProfile];
};

struct SectionDatabase {
  char fileName[PathCapacity];
  char baseFileName[PathCapacity];
  char countryName[200];
  char regionName[200];
  char localityName[200];
  int32_t mxindex_profilu;
  SectionProfile profiles[MaxProfiles];
  int32_t currentProfile;
  int32_t currentPoint;
  // The data changed since the database was last read or saved (a point
  // filed, deleted, edited or written back, a profile created, lines drawn or
  // edited, terrain imported, texts changed); the drawing scales are view
  // settings and do not count.
  bool changed;
};

static_assert(std::is_trivially_default_constructible_v<SectionDatabase>);

inline constexpr float InitialScaleX = 0.0001f;     // 1:10000
inline constexpr float InitialScaleZ = 0.001f;      // 1:1000
inline constexpr float NewProfileScaleZ = 0.0005f;  // 1:2000

// The state a freshly created section window establishes on its zero-filled
// database (before any file is read).
void setInitialDatabaseState(SectionDatabase& db);

// db takes over the database read into `read` (a block read into fresh,
// zero-filled memory): the texts, the counts and every profile's own values,
// and the points and boundary lines within the counts. Slots beyond the
// counts keep their bytes; nothing reads them before it has written them.
// The file names and the selection are the caller's; db counts as unchanged.
void takeOverDatabase(SectionDatabase& db, const SectionDatabase& read);

inline SectionProfile& currentProfileOf(SectionDatabase& db) {
  return db.profiles[db.currentProfile];
}

// The current profile, or nullptr while currentProfile names none (a damaged
// file can leave any number there).
SectionProfile* currentProfilePtr(SectionDatabase& db);
const SectionProfile* currentProfilePtr(const SectionDatabase& db);

}  // namespace orv
