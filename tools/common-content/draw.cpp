#include "draw.h"

#include <algorithm>
#include <cmath>

namespace zelFramework::content {

namespace {

float length(float x, float y) { return std::sqrt(x * x + y * y); }

float segmentDistance(float px, float py, Vec2 a, Vec2 b)
{
    float dx = b.x - a.x, dy = b.y - a.y;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return length(px - (a.x + t * dx), py - (a.y + t * dy));
}

float roundRectSdf(float px, float py, float x, float y, float w, float h, float r)
{
    r = std::min({r, w * 0.5f, h * 0.5f});
    float cx = x + w * 0.5f, cy = y + h * 0.5f;
    float qx = std::fabs(px - cx) - (w * 0.5f - r);
    float qy = std::fabs(py - cy) - (h * 0.5f - r);
    float outside = length(std::max(qx, 0.0f), std::max(qy, 0.0f));
    float inside = std::min(std::max(qx, qy), 0.0f);
    return outside + inside - r;
}

int floorI(float v) { return static_cast<int>(std::floor(v)); }
int ceilI(float v) { return static_cast<int>(std::ceil(v)); }

}  // namespace

Paint solid(Rgba c)
{
    return [c](float, float) { return c; };
}

Paint linearGradient(Vec2 from, Rgba c0, Vec2 to, Rgba c1)
{
    float dx = to.x - from.x, dy = to.y - from.y;
    float len2 = std::max(dx * dx + dy * dy, 1e-6f);
    return [=](float x, float y) {
        float t = std::clamp(((x - from.x) * dx + (y - from.y) * dy) / len2, 0.0f, 1.0f);
        return mix(c0, c1, t);
    };
}

Paint radialGradient(Vec2 centre, float radius, Rgba inner, Rgba outer)
{
    return [=](float x, float y) {
        float t = std::clamp(length(x - centre.x, y - centre.y) / std::max(radius, 1e-6f), 0.0f, 1.0f);
        return mix(inner, outer, t);
    };
}

void fillSdf(Image& img, int x0, int y0, int x1, int y1, const std::function<float(float, float)>& sdf,
             const Paint& paint)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, img.width);
    y1 = std::min(y1, img.height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float coverage = std::clamp(0.5f - sdf(px, py), 0.0f, 1.0f);
            if (coverage > 0.0f)
                blendPixel(img, x, y, paint(px, py), coverage);
        }
}

namespace {

// fillSdf over the bounding box of `points`, grown by `margin` (the stroke's half width) and by one
// pixel for the soft edge.
void fillSdfAround(Image& img, const std::vector<Vec2>& points, float margin,
                   const std::function<float(float, float)>& sdf, const Paint& paint)
{
    float minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const Vec2& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    fillSdf(img, floorI(minX - margin) - 1, floorI(minY - margin) - 1, ceilI(maxX + margin) + 1,
            ceilI(maxY + margin) + 1, sdf, paint);
}

}  // namespace

void fillAll(Image& img, const Paint& paint)
{
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            img.at(x, y) = paint(x + 0.5f, y + 0.5f);
}

void fillRect(Image& img, float x, float y, float w, float h, const Paint& paint)
{
    fillRoundRect(img, x, y, w, h, 0.0f, paint);
}

void fillRoundRect(Image& img, float x, float y, float w, float h, float radius, const Paint& paint)
{
    fillSdf(img, floorI(x) - 1, floorI(y) - 1, ceilI(x + w) + 1, ceilI(y + h) + 1,
            [=](float px, float py) { return roundRectSdf(px, py, x, y, w, h, radius); }, paint);
}

void strokeRoundRect(Image& img, float x, float y, float w, float h, float radius, float width, const Paint& paint)
{
    float half = width * 0.5f;
    fillSdf(img, floorI(x - half) - 1, floorI(y - half) - 1, ceilI(x + w + half) + 1, ceilI(y + h + half) + 1,
            [=](float px, float py) { return std::fabs(roundRectSdf(px, py, x, y, w, h, radius)) - half; }, paint);
}

void fillCircle(Image& img, float cx, float cy, float r, const Paint& paint)
{
    fillSdf(img, floorI(cx - r) - 1, floorI(cy - r) - 1, ceilI(cx + r) + 1, ceilI(cy + r) + 1,
            [=](float px, float py) { return length(px - cx, py - cy) - r; }, paint);
}

void strokeCircle(Image& img, float cx, float cy, float r, float width, const Paint& paint)
{
    float o = r + width;
    fillSdf(img, floorI(cx - o) - 1, floorI(cy - o) - 1, ceilI(cx + o) + 1, ceilI(cy + o) + 1,
            [=](float px, float py) { return std::fabs(length(px - cx, py - cy) - r) - width * 0.5f; }, paint);
}

void fillEllipse(Image& img, float cx, float cy, float rx, float ry, const Paint& paint)
{
    // Scaled-circle distance, good enough for moderately eccentric ellipses.
    float m = std::min(rx, ry);
    fillSdf(img, floorI(cx - rx) - 1, floorI(cy - ry) - 1, ceilI(cx + rx) + 1, ceilI(cy + ry) + 1,
            [=](float px, float py) { return (length((px - cx) / rx, (py - cy) / ry) - 1.0f) * m; }, paint);
}

void drawLine(Image& img, Vec2 a, Vec2 b, float width, const Paint& paint)
{
    float h = width * 0.5f;
    fillSdf(img, floorI(std::min(a.x, b.x) - h) - 1, floorI(std::min(a.y, b.y) - h) - 1,
            ceilI(std::max(a.x, b.x) + h) + 1, ceilI(std::max(a.y, b.y) + h) + 1,
            [=](float px, float py) { return segmentDistance(px, py, a, b) - h; }, paint);
}

void drawPolyline(Image& img, const std::vector<Vec2>& points, float width, const Paint& paint)
{
    if (points.size() < 2)
        return;
    float h = width * 0.5f;
    // One distance over all segments, so joints are not drawn twice.
    fillSdfAround(img, points, h,
                  [&points, h](float px, float py) {
                      float d = 1e9f;
                      for (size_t i = 0; i + 1 < points.size(); ++i)
                          d = std::min(d, segmentDistance(px, py, points[i], points[i + 1]));
                      return d - h;
                  },
                  paint);
}

void fillPolygon(Image& img, const std::vector<Vec2>& pts, const Paint& paint)
{
    if (pts.size() < 3)
        return;
    fillSdfAround(img, pts, 0.0f,
                  [&pts](float px, float py) {
                      float d = 1e9f;
                      bool inside = false;
                      for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                          const Vec2& a = pts[i];
                          const Vec2& b = pts[j];
                          d = std::min(d, segmentDistance(px, py, a, b));
                          if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x)
                              inside = !inside;
                      }
                      return inside ? -d : d;
                  },
                  paint);
}

void fillArc(Image& img, float cx, float cy, float r, float width, float a0, float a1, const Paint& paint)
{
    float o = r + width;
    const float twoPi = 6.2831853f;
    fillSdf(img, floorI(cx - o) - 1, floorI(cy - o) - 1, ceilI(cx + o) + 1, ceilI(cy + o) + 1,
            [=](float px, float py) {
                float ring = std::fabs(length(px - cx, py - cy) - r) - width * 0.5f;
                float a = std::atan2(-(py - cy), px - cx);
                float rel = std::fmod(a - a0 + 2 * twoPi, twoPi);
                float span = a1 - a0;
                if (rel <= span)
                    return ring;
                // Outside the angular span: distance to the nearer end cap.
                Vec2 e0{cx + r * std::cos(a0), cy - r * std::sin(a0)};
                Vec2 e1{cx + r * std::cos(a1), cy - r * std::sin(a1)};
                float cap = std::min(length(px - e0.x, py - e0.y), length(px - e1.x, py - e1.y)) - width * 0.5f;
                return std::max(ring, cap);
            },
            paint);
}

std::vector<Vec2> regularPolygon(float cx, float cy, float r, int sides, float rotation)
{
    std::vector<Vec2> pts;
    for (int i = 0; i < sides; ++i) {
        float a = rotation + 6.2831853f * i / sides;
        pts.push_back({cx + r * std::cos(a), cy - r * std::sin(a)});
    }
    return pts;
}

namespace {

void boxBlurRows(std::vector<float>& ch, int w, int h, int r)
{
    std::vector<float> row(w);
    for (int y = 0; y < h; ++y) {
        float* p = &ch[static_cast<size_t>(y) * w];
        double sum = 0;
        for (int i = -r; i <= r; ++i)
            sum += p[std::clamp(i, 0, w - 1)];
        for (int x = 0; x < w; ++x) {
            row[x] = static_cast<float>(sum / (2 * r + 1));
            sum += p[std::min(x + r + 1, w - 1)] - p[std::max(x - r, 0)];
        }
        std::copy(row.begin(), row.end(), p);
    }
}

void transpose(std::vector<float>& ch, int w, int h)
{
    std::vector<float> t(ch.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            t[static_cast<size_t>(x) * h + y] = ch[static_cast<size_t>(y) * w + x];
    ch.swap(t);
}

void blurChannel(std::vector<float>& ch, int w, int h, int r)
{
    for (int pass = 0; pass < 3; ++pass)
        boxBlurRows(ch, w, h, r);
    transpose(ch, w, h);
    for (int pass = 0; pass < 3; ++pass)
        boxBlurRows(ch, h, w, r);
    transpose(ch, h, w);
}

}  // namespace

void blur(Image& img, int radius)
{
    if (radius <= 0)
        return;
    size_t n = img.pixels.size();
    // Blur premultiplied colour so transparent pixels do not bleed black.
    std::vector<float> r(n), g(n), b(n), a(n);
    for (size_t i = 0; i < n; ++i) {
        const Rgba& p = img.pixels[i];
        r[i] = p.r * p.a;
        g[i] = p.g * p.a;
        b[i] = p.b * p.a;
        a[i] = p.a;
    }
    for (auto* ch : {&r, &g, &b, &a})
        blurChannel(*ch, img.width, img.height, radius);
    for (size_t i = 0; i < n; ++i) {
        Rgba& p = img.pixels[i];
        p.a = a[i];
        if (a[i] > 1e-6f) {
            p.r = r[i] / a[i];
            p.g = g[i] / a[i];
            p.b = b[i] / a[i];
        }
    }
}

void addGlow(Image& dst, const Image& shape, Rgba colour, int radius, float strength)
{
    std::vector<float> a(shape.pixels.size());
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = shape.pixels[i].a;
    blurChannel(a, shape.width, shape.height, radius);
    int w = std::min(dst.width, shape.width), h = std::min(dst.height, shape.height);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            blendPixel(dst, x, y, colour, a[static_cast<size_t>(y) * shape.width + x] * strength);
}

void multiplyAlpha(Image& img, const std::function<float(float, float)>& f)
{
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            img.at(x, y).a *= std::clamp(f(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
}

}  // namespace zelFramework::content
