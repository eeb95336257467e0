// Boundary lines ("křivky HBV"): polylines a user draws across the section of
// a profile to join the interfaces of neighbouring soundings. The
// preparation ties them to the soundings before every coloured repaint; the
// searches find the lines that enclose a layer beside a sounding.
//
// The searches see the profile's user lines 0 .. HBV_pocet-1 and, as line
// HBV_pocet, the terrain surface through the soundings. The surface line is
// kept in a store of its own: a profile of 420 soundings needs 420 vertices,
// more than a line slot holds, and a profile may hold all 200 lines.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/section/section_database.h"
#include "core/section/section_layout.h"

namespace orv {

// Lines a user may draw; a define mode asked for beyond them is refused.
inline constexpr int MaxUserHbvLines = MaxHbvLines - 1;
// Vertices a user may click into one line.
inline constexpr int MaxMouseHbvVertices = MaxHbvVertices - 1;
// Vertical tolerance of the ties, m; the horizontal one is exaggeration x 0.01 m.
inline constexpr double HbvTolZ = 0.01;
inline double hbvTolX(int exaggeration) {
  return exaggeration * 0.01;
}

// Points and layers of a profile as the geometry walks them: the counts may
// come from a damaged file, so they are held inside the arrays.
inline int profilePointCount(const SectionProfile& p) {
  return p.mxindex_bodu < 0
             ? 0
             : (p.mxindex_bodu >= MaxPointsPerProfile ? MaxPointsPerProfile : p.mxindex_bodu + 1);
}
// MDLmx held within the layer arrays: the index of the half-space.
inline int lastLayerIndex(const SectionPoint& pt) {
  return pt.MDLmx < 0 ? 0 : (pt.MDLmx > MaxLayers - 1 ? MaxLayers - 1 : pt.MDLmx);
}
// Elevation of interface i (under layer i), m.
inline double interfaceElevation(const SectionPoint& pt, int i) {
  const double depth = pt.layerDepth[i];
  return double(pt.pointZ) - (depth < 0 ? -depth : depth);
}

// The terrain surface as a line: the soundings' (profileChainage, pointZ) in
// ascending chainage, one vertex per distinct chainage.
struct SurfaceLine {
  int32_t count = 0;
  float x[MaxPointsPerProfile] = {};
  float z[MaxPointsPerProfile] = {};
};

// The user lines of a profile and its surface line, as the searches walk
// them: line index userCount() is the surface. Built once the lines are
// prepared, it indexes their vertices by chainage, so a search beside a
// sounding visits the few vertices near it instead of every vertex of every
// line; the profile and the surface must not change while it is in use.
class BoundaryLines {
 public:
  BoundaryLines(const SectionProfile& profile, const SurfaceLine& surface);

  // HBV_pocet held within 0 .. MaxHbvLines.
  int userCount() const { return int(lines_.size()) - 1; }
  int lineCount() const { return int(lines_.size()); }
  // Vertices of line i, within the capacity of its store (0 for a line just
  // opened, whose count is -10).
  int vertexCount(int i) const { return i < 0 || i >= lineCount() ? 0 : lines_[i].count; }
  float x(int i, int j) const { return j < 0 || j >= vertexCount(i) ? 0.0f : lines_[i].x[j]; }
  float z(int i, int j) const { return j < 0 || j >= vertexCount(i) ? 0.0f : lines_[i].z[j]; }
  const SectionProfile& profile() const { return profile_; }

  // Line i's chainages rise strictly from vertex to vertex (and are finite):
  // what lies between two chainages is then one run of its vertices.
  bool rises(int i) const { return i >= 0 && i < lineCount() && lines_[i].rises; }

  struct PlacedVertex {
    float x;
    float z;
    int line;
    int vertex;
  };
  // The vertices of all lines at finite positions in rising chainage, at one
  // chainage in rising elevation and at one position in the order of lines
  // and vertices, cut to those whose distance from x, as |HBV_x - x|
  // computes it, lies below tolX.
  std::span<const PlacedVertex> verticesNear(double x, double tolX) const;

 private:
  struct Line {
    const float* x;
    const float* z;
    int count;
    bool rises;
  };
  const SectionProfile& profile_;
  std::vector<Line> lines_;
  std::vector<PlacedVertex> byChainage_;
};

// Builds the surface line of profile.
void buildSurfaceLine(const SectionProfile& profile, SurfaceLine& surface);

// The preparation before a coloured repaint: the surface line is built,
// repeated vertices dropped, right-to-left lines reversed, every line tied to
// each sounding it spans (a vertex moved onto an interface within the
// tolerances, or one inserted on the nearest interface; an insertion that
// would pass the 170 vertices of a line is left out and the line kept), and
// free line ends inside the displayed range attached to the nearest
// interface or line end. The edits are permanent.
void prepareBoundaryLines(SectionProfile& profile, SurfaceLine& surface,
                          const SectionLayout& layout, int exaggeration);

enum class LineChoice { Lowest, Highest };

struct LineFound {
  int line = -1;           // index in BoundaryLines, -1 none
  int vertex = -1;         // the line's vertex at the starting point
  int vertexAtLimit = -1;  // its vertex at the chainage limit, -1 none
};

// The line through (x, z) that runs on to the right up to chainage xl (the
// lowest or highest of them on average over that stretch), within d
// vertically and exaggeration x d horizontally.
LineFound findLineRight(const BoundaryLines& lines, int exaggeration, double x, double z, double xl,
                        double d, LineChoice choice);
// Its mirror: the line runs on to the left down to xl.
LineFound findLineLeft(const BoundaryLines& lines, int exaggeration, double x, double z, double xl,
                       double d, LineChoice choice);

struct LineInterface {
  int interface = -1;      // 0 .. MDLmx-1 an interface, MDLmx the surface; -1 none
  int vertex = -1;         // vertex where the line meets it, -1 none
  int nearestVertex = -1;  // vertex with the chainage nearest to xc
  double elevation = -9999.0;
};

// Where line meets an interface of sounding c (at chainage xc): the
// candidates are interfaces 0 .. MDLmx-1 and then the surface as index MDLmx,
// the last match winning. The depth entry under the half-space is not an
// interface (the DXF export writes the drawing's lower edge into it) and
// takes no part.
LineInterface lineInterfaceAt(const BoundaryLines& lines, int exaggeration, int line, int c,
                              double xc, double d);

}  // namespace orv
