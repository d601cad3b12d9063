// Draws the clock's PNG layers for the blue and the black face: dial, hour, minute and
// seconds hands, centre dot, glass highlights and the settings icon, all RGBA with
// per-pixel alpha. Shapes are sampled 8x8 per pixel, so every edge is anti-aliased.
//   clockfaces <output folder>
//
// Geometry (pixel (i, j) covers [i, i+1) x [j, j+1)): the window turns each 13x129 hand
// strip about the point GDI+ calls (64, 65), the centre of screen pixel (64, 65), which is
// the centre of the strip's middle pixel (6, 64). So hands are drawn on (6.5, 64.5) of the
// strip and the dial on (64.5, 65.5) of the 130x130 face; the highlight layer sits 2 pixels
// right of and 1 pixel above the dial, so the glass is centred on (62.5, 66.5). Axis-aligned
// marks have whole-pixel edges, so they stay crisp.
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;   // straight colour, 0..1
};

Rgba Hex(uint32_t rgb, double a = 1.0)
{
    return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, a};
}

Rgba Mix(const Rgba& x, const Rgba& y, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

using Shape = std::function<bool(double, double)>;
using Paint = std::function<Rgba(double, double)>;

// Premultiplied float canvas; pixel (i, j) covers [i, i+1) x [j, j+1).
class Canvas {
public:
    Canvas(int w, int h) : W(w), H(h), px(size_t(w) * h * 4, 0.0) {}

    // Composites paint over the canvas where shape holds, weighted by sample coverage.
    void Fill(const Shape& shape, const Paint& paint)
    {
        constexpr int n = 8;
        for (int j = 0; j < H; ++j)
            for (int i = 0; i < W; ++i) {
                int hits = 0;
                for (int sy = 0; sy < n; ++sy)
                    for (int sx = 0; sx < n; ++sx)
                        hits += shape(i + (sx + 0.5) / n, j + (sy + 0.5) / n);
                if (hits)
                    Blend(i, j, paint(i + 0.5, j + 0.5), double(hits) / (n * n));
            }
    }

    // Composites a paint whose own alpha carries the shape (soft shadows and glows).
    void Soft(const Paint& paint)
    {
        for (int j = 0; j < H; ++j)
            for (int i = 0; i < W; ++i)
                Blend(i, j, paint(i + 0.5, j + 0.5), 1.0);
    }

    std::vector<uint8_t> Rgba8() const
    {
        std::vector<uint8_t> out(size_t(W) * H * 4);
        for (size_t k = 0; k < size_t(W) * H; ++k) {
            double a = px[k * 4 + 3];
            for (int c = 0; c < 3; ++c)
                out[k * 4 + c] = uint8_t(std::lround(std::clamp(a > 0 ? px[k * 4 + c] / a : 0.0, 0.0, 1.0) * 255));
            out[k * 4 + 3] = uint8_t(std::lround(std::clamp(a, 0.0, 1.0) * 255));
        }
        return out;
    }

    const int W, H;

private:
    void Blend(int i, int j, const Rgba& c, double cover)
    {
        double a = std::clamp(c.a * cover, 0.0, 1.0);
        double* p = &px[(size_t(j) * W + i) * 4];
        p[0] = c.r * a + p[0] * (1 - a);
        p[1] = c.g * a + p[1] * (1 - a);
        p[2] = c.b * a + p[2] * (1 - a);
        p[3] = a + p[3] * (1 - a);
    }

    std::vector<double> px;
};

//--- Shapes

Shape Disc(double cx, double cy, double r)
{
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= r; };
}

Shape Ring(double cx, double cy, double r0, double r1)
{
    return [=](double x, double y) {
        double d = std::hypot(x - cx, y - cy);
        return d >= r0 && d <= r1;
    };
}

// Segment from (ax, ay) to (bx, by) widened by a radius that runs from ra to rb.
Shape Taper(double ax, double ay, double bx, double by, double ra, double rb)
{
    return [=](double x, double y) {
        double dx = bx - ax, dy = by - ay;
        double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) <= ra + (rb - ra) * t;
    };
}

// A radial bar of the dial at the given clock angle (degrees clockwise from twelve).
Shape Mark(double cx, double cy, double deg, double r0, double r1, double halfWidth)
{
    double s = std::sin(deg * kPi / 180), c = -std::cos(deg * kPi / 180);
    return [=](double x, double y) {
        double u = (x - cx) * s + (y - cy) * c;            // along the radius
        double v = (x - cx) * c - (y - cy) * s;            // across it
        return u >= r0 && u <= r1 && std::fabs(v) <= halfWidth;
    };
}

Paint Solid(const Rgba& c)
{
    return [=](double, double) { return c; };
}

// Linear gradient from the top-left (t = 0) to the bottom-right (t = 1) of a circle.
Paint Diagonal(double cx, double cy, double r, const Rgba& from, const Rgba& to)
{
    return [=](double x, double y) { return Mix(from, to, ((x - cx) + (y - cy)) / (2.83 * r) + 0.5); };
}

Paint Vertical(double y0, double y1, const Rgba& from, const Rgba& to)
{
    return [=](double, double y) { return Mix(from, to, (y - y0) / (y1 - y0)); };
}

Paint Radial(double cx, double cy, double r, const Rgba& inner, const Rgba& outer)
{
    return [=](double x, double y) { return Mix(inner, outer, std::hypot(x - cx, y - cy) / r); };
}

// A soft halo of colour c around a shape's outline: alpha falls off over `spread` pixels.
Paint Halo(const std::function<double(double, double)>& distance, const Rgba& c, double spread)
{
    return [=](double x, double y) {
        double d = distance(x, y);
        Rgba out = c;
        out.a = d <= 0 ? c.a : c.a * std::exp(-(d * d) / (spread * spread));
        return out;
    };
}

//--- PNG output

void Chunk(std::string& png, const char* type, const std::string& data)
{
    auto be32 = [&](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8)
            png += char((v >> s) & 255);
    };
    be32(uint32_t(data.size()));
    std::string body = std::string(type, 4) + data;
    png += body;
    be32(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

bool WritePng(const std::string& path, const Canvas& canvas)
{
    std::vector<uint8_t> rgba = canvas.Rgba8();
    std::string raw;
    for (int j = 0; j < canvas.H; ++j) {
        raw += '\0';   // filter: none
        raw.append(reinterpret_cast<const char*>(&rgba[size_t(j) * canvas.W * 4]), size_t(canvas.W) * 4);
    }
    uLongf zsize = compressBound(uLong(raw.size()));
    std::string z(zsize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(z.data()), &zsize, reinterpret_cast<const Bytef*>(raw.data()),
                  uLong(raw.size()), 9) != Z_OK)
        return false;
    z.resize(zsize);

    std::string ihdr;
    for (uint32_t v : {uint32_t(canvas.W), uint32_t(canvas.H)})
        for (int s = 24; s >= 0; s -= 8)
            ihdr += char((v >> s) & 255);
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);   // 8-bit RGBA, deflate, no interlace
    std::string png = "\x89PNG\r\n\x1a\n";
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && ok;
}

//--- The two faces

struct Style {
    Rgba bezelLight, bezelDark, rim;      // metal ring
    Rgba dialInner, dialOuter;            // dial gradient
    Rgba marks, minuteTicks;              // hour bars and minute ticks
    Rgba hand, handEdge, handShade;       // hour and minute hands
    Rgba second, dotCap;                  // seconds hand, centre cap
};

constexpr double kCx = 64.5, kCy = 65.5;  // dial centre in the 130x130 face
constexpr double kPx = 6.5, kPy = 64.5;   // pivot in the 13x129 hand strip
constexpr double kBezel = 62, kDial = 56;

Canvas Face(const Style& s)
{
    Canvas c(130, 130);
    // Soft contact shadow under the case, then the metal ring with a bright rim.
    c.Soft(Halo([](double x, double y) { return std::hypot(x - kCx, y - kCy - 0.8) - kBezel; },
                Hex(0x000000, 0.45), 1.6));
    c.Fill(Disc(kCx, kCy, kBezel), Diagonal(kCx, kCy, kBezel, s.bezelLight, s.bezelDark));
    c.Fill(Ring(kCx, kCy, kBezel - 1.0, kBezel), Diagonal(kCx, kCy, kBezel, s.rim, Mix(s.rim, s.bezelDark, 0.7)));
    c.Fill(Disc(kCx, kCy, kDial + 1.2), Diagonal(kCx, kCy, kDial, s.bezelDark, s.bezelLight));
    c.Fill(Disc(kCx, kCy, kDial), Radial(kCx, kCy - 12, kDial + 14, s.dialInner, s.dialOuter));
    // Inner shadow along the top of the dial gives it depth.
    c.Soft([](double x, double y) {
        double d = kDial - std::hypot(x - kCx, y - kCy);
        double top = std::clamp((kCy - y) / kDial, 0.0, 1.0);
        return d < 0 ? Rgba{} : Hex(0x000000, 0.35 * top * std::exp(-d / 2.5));
    });
    for (int m = 0; m < 60; ++m) {
        if (m % 5 == 0)
            continue;
        c.Fill(Mark(kCx, kCy, m * 6, 50, 53.5, 0.55), Solid(s.minuteTicks));
    }
    for (int h = 0; h < 12; ++h) {
        bool quarter = h % 3 == 0;
        if (h == 0) {   // twelve gets a double bar
            c.Fill(Mark(kCx - 3, kCy, 0, 41.5, 53.5, 1.5), Solid(s.marks));
            c.Fill(Mark(kCx + 3, kCy, 0, 41.5, 53.5, 1.5), Solid(s.marks));
        } else {
            c.Fill(Mark(kCx, kCy, h * 30, quarter ? 41.5 : 44.5, 53.5, quarter ? 1.5 : 1.4), Solid(s.marks));
        }
    }
    return c;
}

// One hand of the given length above and tail below the pivot, radius at base and tip.
Canvas Hand(const Style& s, double length, double tail, double rBase, double rTip)
{
    Canvas c(13, 129);
    Shape body = Taper(kPx, kPy + tail, kPx, kPy - length, rBase, rTip);
    auto dist = [=](double x, double y) {
        double t = std::clamp((kPy + tail - y) / (length + tail), 0.0, 1.0);
        double cy = kPy + tail - t * (length + tail);
        return std::hypot(x - kPx, y - cy) - (rBase + (rTip - rBase) * t);
    };
    c.Soft(Halo(dist, s.handShade, 1.3));
    c.Fill(body, Solid(s.handEdge));
    c.Fill(Taper(kPx, kPy + tail - 0.6, kPx, kPy - length + 0.6, rBase - 0.7, rTip - 0.7),
           [=](double x, double) { return Mix(s.hand, Mix(s.hand, s.handEdge, 0.35), (x - kPx + 3) / 6); });
    return c;
}

Canvas SecondHand(const Style& s)
{
    Canvas c(13, 129);
    auto dist = [](double x, double y) {
        double cy = std::clamp(y, kPy - 54, kPy + 16);
        return std::hypot(x - kPx, y - cy) - 0.8;
    };
    c.Soft(Halo(dist, Hex(0x000000, 0.35), 1.2));
    c.Fill(Taper(kPx, kPy + 16, kPx, kPy - 54, 0.85, 0.6), Solid(s.second));
    c.Fill(Taper(kPx, kPy + 7, kPx, kPy + 17, 1.9, 1.9), Solid(s.second));     // counterweight
    c.Fill(Ring(kPx, kPy - 40, 2.0, 3.1), Solid(s.second));                     // lollipop near the tip
    return c;
}

Canvas Dot(const Style& s)
{
    Canvas c(13, 129);
    c.Soft(Halo([](double x, double y) { return std::hypot(x - kPx, y - kPy) - 4; }, Hex(0x000000, 0.4), 1.2));
    c.Fill(Disc(kPx, kPy, 4.2), Diagonal(kPx, kPy, 4.2, Hex(0xf4f6fa), Hex(0x8a93a3)));
    c.Fill(Disc(kPx, kPy, 2.6), Solid(s.second));
    c.Fill(Disc(kPx, kPy, 1.0), Solid(s.dotCap));
    return c;
}

// Glass: a soft crescent of light over the upper half of the dial and a faint lower rim.
Canvas Highlights()
{
    Canvas c(130, 130);
    constexpr double gx = kCx - 2, gy = kCy + 1, r = kDial - 1.5;
    Shape dial = Disc(gx, gy, r);
    Shape upper = Disc(gx, gy - 50, 74);
    c.Fill([=](double x, double y) { return dial(x, y) && upper(x, y); },
           Vertical(gy - r, gy + 4, Hex(0xffffff, 0.34), Hex(0xffffff, 0.02)));
    c.Fill([=](double x, double y) { return Ring(gx, gy, r - 2.2, r)(x, y) && y > gy + 20; },
           Vertical(gy + 20, gy + r, Hex(0xffffff, 0.0), Hex(0xffffff, 0.18)));
    return c;
}

// A small gear in the face's colours (shipped with the images; the program never loads it).
Canvas Settings(const Style& s)
{
    Canvas c(32, 32);
    constexpr double cx = 16, cy = 16;
    Shape gear = [=](double x, double y) {
        double d = std::hypot(x - cx, y - cy), a = std::atan2(y - cy, x - cx);
        double tooth = std::cos(8 * a) > 0.3 ? 13.5 : 10.5;
        return d <= tooth && d >= 4.5;
    };
    c.Fill(gear, Diagonal(cx, cy, 13.5, s.bezelLight, s.bezelDark));
    c.Fill(Ring(cx, cy, 6.5, 8.0), Solid(s.dialOuter));
    return c;
}

Style Blue()
{
    Style s;
    s.bezelLight = Hex(0xf2f5fa);
    s.bezelDark = Hex(0x7d8797);
    s.rim = Hex(0xffffff);
    s.dialInner = Hex(0x3d86de);
    s.dialOuter = Hex(0x0c2d66);
    s.marks = Hex(0xffffff);
    s.minuteTicks = Hex(0xd6e6ff, 0.75);
    s.hand = Hex(0xffffff);
    s.handEdge = Hex(0xc9d6ea);
    s.handShade = Hex(0x03122e, 0.55);
    s.second = Hex(0xff5a3c);
    s.dotCap = Hex(0xffffff);
    return s;
}

Style Black()
{
    Style s;
    s.bezelLight = Hex(0x6a6d74);
    s.bezelDark = Hex(0x141518);
    s.rim = Hex(0xc9ccd3);
    s.dialInner = Hex(0x34363c);
    s.dialOuter = Hex(0x08090b);
    s.marks = Hex(0xf2f2f2);
    s.minuteTicks = Hex(0x9a9ca3, 0.8);
    s.hand = Hex(0xf7f7f7);
    s.handEdge = Hex(0xb5b8bf);
    s.handShade = Hex(0x000000, 0.7);
    s.second = Hex(0xff9a1f);
    s.dotCap = Hex(0x1a1a1a);
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: clockfaces <output folder>\n");
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/";
    bool ok = true;
    for (const auto& [name, style] : {std::pair{"Blue", Blue()}, std::pair{"Black", Black()}}) {
        std::string base = dir + name;
        ok &= WritePng(base + ".png", Face(style));
        ok &= WritePng(base + "_h.png", Hand(style, 31, 9, 3.4, 2.5));
        ok &= WritePng(base + "_m.png", Hand(style, 47, 11, 2.6, 1.6));
        ok &= WritePng(base + "_s.png", SecondHand(style));
        ok &= WritePng(base + "_dot.png", Dot(style));
        ok &= WritePng(base + "_highlights.png", Highlights());
        ok &= WritePng(base + "_settings.png", Settings(style));
    }
    if (!ok)
        std::fprintf(stderr, "clockfaces: could not write every image to %s\n", argv[1]);
    return ok ? 0 : 1;
}
