#include "ui/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ui::raster {

namespace {

constexpr uint32_t Opaque = 0xFF000000u;
constexpr uint32_t RgbMask = 0x00FFFFFFu;
// Wider pens are not meaningful on a screen picture; the cap keeps the exact
// integer arithmetic of the capsule test far from overflow.
constexpr int MaxPenWidth = 1024;
// Segments with an end beyond this magnitude are cut to the buffer first, so
// that the capsule test stays within 64-bit products.
constexpr int64_t ExactRange = int64_t{1} << 24;

using Wide = __int128;

// Emits the pixels of a width-1 segment (end pixel excluded) as horizontal
// runs, only those inside width x height.
template <class Sink>
void bresenhamRuns(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, int height,
                   Sink&& sink) {
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  const int64_t adx = std::llabs(dx);
  const int64_t ady = std::llabs(dy);
  const int64_t sx = dx < 0 ? -1 : 1;
  const int64_t sy = dy < 0 ? -1 : 1;
  if (adx == 0 && ady == 0) return;
  if (adx >= ady) {
    // Pixel i (0 <= i < adx) stands at x0 + sx*i, y0 + sy*round(i*ady/adx),
    // halves rounded away from the start.
    int64_t ilo = 0;
    int64_t ihi = adx - 1;
    if (sx > 0) {
      ilo = std::max<int64_t>(ilo, -x0);
      ihi = std::min<int64_t>(ihi, width - 1 - x0);
    } else {
      ilo = std::max<int64_t>(ilo, x0 - (width - 1));
      ihi = std::min<int64_t>(ihi, x0);
    }
    if (ilo > ihi) return;
    const Wide den = Wide{2} * adx;
    const Wide num = Wide{2} * ilo * ady + adx;
    int64_t q = static_cast<int64_t>(num / den);
    int64_t r = static_cast<int64_t>(num % den);
    const int64_t step = 2 * ady;
    const int64_t d = 2 * adx;
    int runY = 0;
    int runX0 = 0;
    int runX1 = 0;
    bool inRun = false;
    for (int64_t i = ilo; i <= ihi; ++i) {
      const int64_t y = y0 + sy * q;
      if (y >= 0 && y < height) {
        const int x = static_cast<int>(x0 + sx * i);
        if (inRun && y == runY && (x == runX1 || x + 1 == runX0)) {
          if (x == runX1)
            runX1 = x + 1;
          else
            runX0 = x;
        } else {
          if (inRun) sink(runY, runX0, runX1);
          runY = static_cast<int>(y);
          runX0 = x;
          runX1 = x + 1;
          inRun = true;
        }
      } else if ((sy > 0 && y >= height) || (sy < 0 && y < 0)) {
        break;  // moving away from the buffer for good
      }
      r += step;
      if (r >= d) {
        r -= d;
        ++q;
      }
    }
    if (inRun) sink(runY, runX0, runX1);
  } else {
    int64_t ilo = 0;
    int64_t ihi = ady - 1;
    if (sy > 0) {
      ilo = std::max<int64_t>(ilo, -y0);
      ihi = std::min<int64_t>(ihi, height - 1 - y0);
    } else {
      ilo = std::max<int64_t>(ilo, y0 - (height - 1));
      ihi = std::min<int64_t>(ihi, y0);
    }
    if (ilo > ihi) return;
    const Wide den = Wide{2} * ady;
    const Wide num = Wide{2} * ilo * adx + ady;
    int64_t q = static_cast<int64_t>(num / den);
    int64_t r = static_cast<int64_t>(num % den);
    const int64_t step = 2 * adx;
    const int64_t d = 2 * ady;
    for (int64_t i = ilo; i <= ihi; ++i) {
      const int64_t x = x0 + sx * q;
      if (x >= 0 && x < width) {
        const int xi = static_cast<int>(x);
        sink(static_cast<int>(y0 + sy * i), xi, xi + 1);
      } else if ((sx > 0 && x >= width) || (sx < 0 && x < 0)) {
        break;
      }
      r += step;
      if (r >= d) {
        r -= d;
        ++q;
      }
    }
  }
}

// Cuts the segment to the box [xmin, xmax] x [ymin, ymax] (Liang-Barsky); false
// when nothing of it lies inside.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double xmin, double ymin,
                 double xmax, double ymax) {
  double t0 = 0.0;
  double t1 = 1.0;
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - xmin, xmax - x0, y0 - ymin, ymax - y0};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0.0) {
      if (q[k] < 0.0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0.0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  const double nx0 = x0 + t0 * dx;
  const double ny0 = y0 + t0 * dy;
  const double nx1 = x0 + t1 * dx;
  const double ny1 = y0 + t1 * dy;
  x0 = nx0;
  y0 = ny0;
  x1 = nx1;
  y1 = ny1;
  return true;
}

// The capsule of diameter w around a segment, in doubled coordinates so that
// both pixel centres (odd values) and the line's anchor are integers. Odd
// widths centre the stroke on the pixel, even widths on the pixel corner, so
// that a horizontal stroke is exactly w rows thick.
struct Capsule {
  int64_t ax, ay, bx, by;  // doubled end points
  int64_t dx, dy, len2;
  int64_t w2;  // squared doubled radius
  int w;       // doubled radius (= pen width)

  bool inside(int px, int py) const {
    const int64_t x = 2 * int64_t{px} + 1;
    const int64_t y = 2 * int64_t{py} + 1;
    const int64_t ux = x - ax;
    const int64_t uy = y - ay;
    const int64_t t = ux * dx + uy * dy;
    if (t <= 0) return ux * ux + uy * uy < w2;
    if (t >= len2) {
      const int64_t vx = x - bx;
      const int64_t vy = y - by;
      return vx * vx + vy * vy < w2;
    }
    const int64_t cross = ux * dy - uy * dx;
    return Wide{cross} * cross < Wide{w2} * len2;
  }
};

template <class Sink>
void capsuleRuns(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int w, int width, int height,
                 Sink&& sink) {
  const int64_t c = (w & 1) ? 1 : 0;
  Capsule k;
  k.ax = 2 * x0 + c;
  k.ay = 2 * y0 + c;
  k.bx = 2 * x1 + c;
  k.by = 2 * y1 + c;
  k.dx = k.bx - k.ax;
  k.dy = k.by - k.ay;
  k.len2 = k.dx * k.dx + k.dy * k.dy;
  k.w = w;
  k.w2 = int64_t{w} * w;

  // Rows whose centre 2y+1 lies strictly within w of the segment's extent.
  const int64_t ymin2 = std::min(k.ay, k.by) - w;
  const int64_t ymax2 = std::max(k.ay, k.by) + w;
  int64_t ylo = (ymin2 - 1) / 2 - 1;
  int64_t yhi = (ymax2 - 1) / 2 + 1;
  ylo = std::max<int64_t>(ylo, 0);
  yhi = std::min<int64_t>(yhi, height - 1);

  const double ax = static_cast<double>(k.ax);
  const double ay = static_cast<double>(k.ay);
  const double bx = static_cast<double>(k.bx);
  const double by = static_cast<double>(k.by);
  const double ddx = static_cast<double>(k.dx);
  const double ddy = static_cast<double>(k.dy);
  const double len = std::sqrt(static_cast<double>(k.len2));
  const double rw = static_cast<double>(w);
  const double len2 = static_cast<double>(k.len2);

  for (int64_t y = ylo; y <= yhi; ++y) {
    const double Y = static_cast<double>(2 * y + 1);
    double lo = 0.0;
    double hi = -1.0;
    bool any = false;
    auto take = [&](double a, double b) {
      if (a > b) std::swap(a, b);
      if (!any) {
        lo = a;
        hi = b;
        any = true;
      } else {
        lo = std::min(lo, a);
        hi = std::max(hi, b);
      }
    };
    const double eA = Y - ay;
    if (eA * eA < rw * rw) {
      const double h = std::sqrt(rw * rw - eA * eA);
      take(ax - h, ax + h);
    }
    const double eB = Y - by;
    if (eB * eB < rw * rw) {
      const double h = std::sqrt(rw * rw - eB * eB);
      take(bx - h, bx + h);
    }
    if (k.len2 > 0) {
      // The band between the caps: perpendicular distance below w and the
      // projection inside the segment, both linear in X on this row.
      double blo = -1e300;
      double bhi = 1e300;
      bool ok = true;
      if (k.dy != 0) {
        const double a = ax + (eA * ddx - rw * len) / ddy;
        const double b = ax + (eA * ddx + rw * len) / ddy;
        blo = std::max(blo, std::min(a, b));
        bhi = std::min(bhi, std::max(a, b));
      } else if (!(eA * eA < rw * rw)) {
        ok = false;
      }
      if (k.dx != 0) {
        const double a = ax - eA * ddy / ddx;
        const double b = ax + (len2 - eA * ddy) / ddx;
        blo = std::max(blo, std::min(a, b));
        bhi = std::min(bhi, std::max(a, b));
      } else {
        const double t = eA * ddy;
        if (t < 0.0 || t > len2) ok = false;
      }
      // A hair of tolerance: the exact test below has the last word.
      if (ok && blo <= bhi + 2.0) take(blo, std::max(blo, bhi));
    }
    if (!any) continue;
    // Pixels whose centre 2x+1 lies in (lo, hi), widened by one pixel each
    // side and then settled by the exact integer test (the row's set is an
    // interval because the capsule is convex).
    const double flo = std::floor((lo - 1.0) / 2.0);
    const double fhi = std::ceil((hi - 1.0) / 2.0);
    if (fhi < 0.0 || flo > static_cast<double>(width - 1)) continue;
    int xa = flo < 0.0 ? 0 : static_cast<int>(flo);
    int xb = fhi > static_cast<double>(width - 1) ? width - 1 : static_cast<int>(fhi);
    const int yi = static_cast<int>(y);
    while (xa <= xb && !k.inside(xa, yi)) ++xa;
    while (xb >= xa && !k.inside(xb, yi)) --xb;
    if (xa > xb) continue;
    while (xa > 0 && k.inside(xa - 1, yi)) --xa;
    while (xb < width - 1 && k.inside(xb + 1, yi)) ++xb;
    sink(yi, xa, xb + 1);
  }
}

// Dispatches one segment to the right emitter, cutting far-away ends first.
template <class Sink>
void segmentRuns(Point a, Point b, int w, int width, int height, Sink&& sink) {
  if (w <= 1) {
    bresenhamRuns(a.x, a.y, b.x, b.y, width, height, sink);
    return;
  }
  w = std::min(w, MaxPenWidth);
  int64_t x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
  auto far = [](int64_t v) { return v > ExactRange || v < -ExactRange; };
  if (far(x0) || far(y0) || far(x1) || far(y1)) {
    double fx0 = static_cast<double>(x0), fy0 = static_cast<double>(y0);
    double fx1 = static_cast<double>(x1), fy1 = static_cast<double>(y1);
    const double m = static_cast<double>(w) + 4.0;
    if (!clipSegment(fx0, fy0, fx1, fy1, -m, -m, width + m, height + m)) return;
    x0 = std::llround(fx0);
    y0 = std::llround(fy0);
    x1 = std::llround(fx1);
    y1 = std::llround(fy1);
  }
  capsuleRuns(x0, y0, x1, y1, w, width, height, sink);
}

}  // namespace

void Rect::unite(const Rect& o) {
  if (o.empty()) return;
  if (empty()) {
    *this = o;
    return;
  }
  left = std::min(left, o.left);
  top = std::min(top, o.top);
  right = std::max(right, o.right);
  bottom = std::max(bottom, o.bottom);
}

Rasteriser::Ink Rasteriser::inkOf(uint32_t rgb, PenMode mode) {
  switch (mode) {
    case PenMode::Copy:
      return {true, Opaque | (rgb & RgbMask)};
    case PenMode::Xor:
      return {false, rgb & RgbMask};
    case PenMode::NotXor:
      return {false, ~rgb & RgbMask};
    case PenMode::Not:
      return {false, RgbMask};
  }
  return {true, Opaque | (rgb & RgbMask)};
}

void Rasteriser::apply(const Buffer& buf, int y, int x0, int x1, Ink ink) {
  if (clip_) {
    if (y < clip_->top || y >= clip_->bottom) return;
    x0 = std::max(x0, clip_->left);
    x1 = std::min(x1, clip_->right);
    if (x0 >= x1) return;
  }
  uint32_t* p = buf.pixels + static_cast<std::ptrdiff_t>(y) * buf.stride;
  if (ink.set) {
    std::fill(p + x0, p + x1, ink.value);
  } else {
    const uint32_t key = ink.value;
    for (int x = x0; x < x1; ++x) p[x] = (p[x] ^ key) | Opaque;
  }
  if (dirty_.empty()) {
    dirty_ = {x0, y, x1, y + 1};
  } else {
    dirty_.left = std::min(dirty_.left, x0);
    dirty_.right = std::max(dirty_.right, x1);
    dirty_.top = std::min(dirty_.top, y);
    dirty_.bottom = std::max(dirty_.bottom, y + 1);
  }
}

Rect Rasteriser::takeDirty() {
  Rect r = dirty_;
  dirty_ = Rect{};
  return r;
}

void Rasteriser::fillRect(const Buffer& buf, int left, int top, int right, int bottom, uint32_t rgb,
                          PenMode mode) {
  if (!buf.pixels) return;
  const int l = std::max(left, 0);
  const int t = std::max(top, 0);
  const int r = std::min(right, buf.width);
  const int b = std::min(bottom, buf.height);
  if (l >= r || t >= b) return;
  const Ink ink = inkOf(rgb, mode);
  for (int y = t; y < b; ++y) apply(buf, y, l, r, ink);
}

void Rasteriser::line(const Buffer& buf, Point a, Point b, int width, uint32_t rgb, PenMode mode) {
  if (!buf.pixels || buf.width <= 0 || buf.height <= 0) return;
  const Ink ink = inkOf(rgb, mode);
  // A single segment never covers a pixel twice, so its runs go straight in.
  segmentRuns(a, b, width, buf.width, buf.height,
              [&](int y, int x0, int x1) { apply(buf, y, x0, x1, ink); });
}

void Rasteriser::collectSegment(const Buffer& buf, Point a, Point b, int width) {
  segmentRuns(a, b, width, buf.width, buf.height, [&](int y, int x0, int x1) {
    spans_.push_back({y, x0, x1});
  });
}

void Rasteriser::applyMerged(const Buffer& buf, Ink ink) {
  std::sort(spans_.begin(), spans_.end(),
            [](const Span& p, const Span& q) { return p.y != q.y ? p.y < q.y : p.x0 < q.x0; });
  std::size_t i = 0;
  const std::size_t n = spans_.size();
  while (i < n) {
    Span cur = spans_[i++];
    while (i < n && spans_[i].y == cur.y && spans_[i].x0 <= cur.x1) {
      cur.x1 = std::max(cur.x1, spans_[i].x1);
      ++i;
    }
    apply(buf, cur.y, cur.x0, cur.x1, ink);
  }
  spans_.clear();
}

void Rasteriser::polyline(const Buffer& buf, const Point* points, int count, int width,
                          uint32_t rgb, PenMode mode) {
  if (!buf.pixels || !points || count < 2 || buf.width <= 0 || buf.height <= 0) return;
  const Ink ink = inkOf(rgb, mode);
  if (count == 2) {
    line(buf, points[0], points[1], width, rgb, mode);
    return;
  }
  spans_.clear();
  for (int i = 0; i + 1 < count; ++i) collectSegment(buf, points[i], points[i + 1], width);
  if (ink.set) {
    // Copy is idempotent: overlaps need no merging.
    for (const Span& s : spans_) apply(buf, s.y, s.x0, s.x1, ink);
    spans_.clear();
  } else {
    applyMerged(buf, ink);
  }
}

void Rasteriser::polygon(const Buffer& buf, const Point* points, int count, int penWidth,
                         uint32_t penRgb, std::optional<uint32_t> brushRgb, PenMode mode) {
  if (!buf.pixels || !points || count < 2 || buf.width <= 0 || buf.height <= 0) return;
  if (brushRgb && count >= 3) {
    const Ink ink = inkOf(*brushRgb, mode);
    int64_t ymin = points[0].y, ymax = points[0].y;
    for (int i = 1; i < count; ++i) {
      ymin = std::min<int64_t>(ymin, points[i].y);
      ymax = std::max<int64_t>(ymax, points[i].y);
    }
    const int y0 = static_cast<int>(std::max<int64_t>(ymin, 0));
    const int y1 = static_cast<int>(std::min<int64_t>(ymax, buf.height));
    for (int y = y0; y < y1; ++y) {
      const double yc = y + 0.5;
      crossings_.clear();
      for (int i = 0; i < count; ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % count];
        const double py = p.y, qy = q.y;
        if ((py <= yc && yc < qy) || (qy <= yc && yc < py)) {
          const double px = p.x, qx = q.x;
          crossings_.push_back(px + (yc - py) * (qx - px) / (qy - py));
        }
      }
      std::sort(crossings_.begin(), crossings_.end());
      for (std::size_t k = 0; k + 1 < crossings_.size(); k += 2) {
        // Pixels whose centre x + 0.5 lies in [xa, xb).
        const double xa = std::ceil(crossings_[k] - 0.5);
        const double xb = std::ceil(crossings_[k + 1] - 0.5);
        const double l = std::max(xa, 0.0);
        const double r = std::min(xb, static_cast<double>(buf.width));
        if (l < r) apply(buf, y, static_cast<int>(l), static_cast<int>(r), ink);
      }
    }
  }
  // The outline closes back to the first point, which the last segment then
  // leaves out at width 1 (it has been drawn as the first segment's start).
  spans_.clear();
  for (int i = 0; i < count; ++i) collectSegment(buf, points[i], points[(i + 1) % count], penWidth);
  const Ink pen = inkOf(penRgb, mode);
  if (pen.set) {
    for (const Span& s : spans_) apply(buf, s.y, s.x0, s.x1, pen);
    spans_.clear();
  } else {
    applyMerged(buf, pen);
  }
}

void Rasteriser::ellipse(const Buffer& buf, int left, int top, int right, int bottom, int penWidth,
                         uint32_t penRgb, std::optional<uint32_t> brushRgb, PenMode mode) {
  if (!buf.pixels || buf.width <= 0 || buf.height <= 0) return;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const double cx = (static_cast<double>(left) + right) / 2.0;
  const double cy = (static_cast<double>(top) + bottom) / 2.0;
  const double rx = (static_cast<double>(right) - left) / 2.0;
  const double ry = (static_cast<double>(bottom) - top) / 2.0;
  if (rx <= 0.0 || ry <= 0.0) return;
  const double pw = std::clamp(penWidth, 1, MaxPenWidth);
  const double irx = rx - pw;
  const double iry = ry - pw;
  const Ink pen = inkOf(penRgb, mode);
  const Ink brush = brushRgb ? inkOf(*brushRgb, mode) : Ink{};
  const double maxX = static_cast<double>(buf.width);

  // Columns whose centre lies inside the ellipse (radii rx, ry) on row yc,
  // as [a, b); empty when a >= b.
  auto rowOf = [&](double erx, double ery, double yc, double& a, double& b) {
    a = 0.0;
    b = 0.0;
    if (erx <= 0.0 || ery <= 0.0) return;
    const double t = (yc - cy) / ery;
    if (t * t > 1.0) return;
    const double h = erx * std::sqrt(1.0 - t * t);
    a = std::ceil(cx - h - 0.5);
    b = std::floor(cx + h - 0.5) + 1.0;
  };
  const int y0 = std::max(top, 0);
  const int y1 = std::min(bottom, buf.height);
  for (int y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    double oa, ob, ia, ib;
    rowOf(rx, ry, yc, oa, ob);
    if (oa >= ob) continue;
    rowOf(irx, iry, yc, ia, ib);
    if (ia >= ib) ia = ib = ob;  // no interior on this row: all ring
    ia = std::clamp(ia, oa, ob);
    ib = std::clamp(ib, ia, ob);
    auto put = [&](double a, double b, Ink ink) {
      a = std::max(a, 0.0);
      b = std::min(b, maxX);
      if (a < b) apply(buf, y, static_cast<int>(a), static_cast<int>(b), ink);
    };
    put(oa, ia, pen);
    if (brushRgb) put(ia, ib, brush);
    put(ib, ob, pen);
  }
}

}  // namespace ui::raster
