// Painting a 24-megapixel picture into a 1920 x 1080 box: our nearest-neighbour
// scaler against QPainter::drawImage without smoothing, and the cost of a
// small exposed strip against the whole box.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>
#include <map>
#include <memory>
#include <string>

#include "picture/placement.h"
#include "picture/stretch_draw.h"

namespace {

constexpr int kPictureWidth = 6000;
constexpr int kPictureHeight = 4000;
const QSize kBox(1920, 1080);

const TBitmapImage& Picture() {
    static const auto picture = [] {
        auto image = std::make_unique<TBitmapImage>();
        image->Allocate(kPictureWidth, kPictureHeight, 24, false);
        for (int y = 0; y < kPictureHeight; ++y) {
            std::uint8_t* row = image->Row(y);
            for (int x = 0; x < kPictureWidth * 3; ++x)
                row[x] = static_cast<std::uint8_t>(x * 7 + y * 13);
        }
        return image;
    }();
    return *picture;
}

// The same pixels in Qt's fastest format for its own scaled drawing.
const QImage& PictureAsQImage() {
    static const QImage image = ToQImage(Picture());
    return image;
}

QRect Dest() { return PlacementRect(kPictureWidth, kPictureHeight, kBox.width(), kBox.height(), {true, true, true}); }

QImage& Surface() {
    static QImage surface(kBox, QImage::Format_RGB32);  // as a window's backing store
    return surface;
}

void BM_StretchDraw(benchmark::State& state) {
    const TBitmapImage& picture = Picture();
    const QRect dest = Dest();
    for (auto _ : state) {
        QPainter painter(&Surface());
        StretchDraw(painter, dest, picture, QRect(QPoint(0, 0), kBox));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * dest.width() * dest.height());
}
BENCHMARK(BM_StretchDraw)->Unit(benchmark::kMillisecond);

void BM_QtDrawImage(benchmark::State& state) {
    const QImage& picture = PictureAsQImage();
    const QRect dest = Dest();
    for (auto _ : state) {
        QPainter painter(&Surface());
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(dest, picture);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * dest.width() * dest.height());
}
BENCHMARK(BM_QtDrawImage)->Unit(benchmark::kMillisecond);

// An exposed strip 8 pixels high (0) or wide (1) across the picture.
QRect Strip(int vertical) {
    const QRect dest = Dest();
    return vertical ? QRect(dest.center().x(), 0, 8, kBox.height()) : QRect(0, dest.center().y(), kBox.width(), 8);
}

void BM_StretchDrawStrip(benchmark::State& state) {
    const TBitmapImage& picture = Picture();
    const QRect dest = Dest();
    const QRect strip = Strip(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QPainter painter(&Surface());
        StretchDraw(painter, dest, picture, strip);
        benchmark::ClobberMemory();
    }
    const QRect drawn = dest.intersected(strip);
    state.SetItemsProcessed(state.iterations() * drawn.width() * drawn.height());
}
BENCHMARK(BM_StretchDrawStrip)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// CPU time of this thread: the machine is shared, so wall time would count
// other programs' turns.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

template <class F>
double Timed(F&& paint) {
    const double start = ThreadSeconds();
    paint();
    benchmark::ClobberMemory();
    return ThreadSeconds() - start;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void PaintOurs(const QRect& clip) {
    QPainter painter(&Surface());
    StretchDraw(painter, Dest(), Picture(), clip);
}

void PaintQt(const QRect& clip) {
    QPainter painter(&Surface());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setClipRect(clip);
    painter.drawImage(Dest(), PictureAsQImage());
}

// Ours and Qt's painting alternate, and the median of the paired ratios is
// reported, so that a change of load on the machine hits both alike.
void BM_RatioToDrawImage(benchmark::State& state) {
    std::vector<double> ratios;
    const QRect box(QPoint(0, 0), kBox);
    bool oursFirst = true;
    for (auto _ : state) {
        // Taking turns at going first, so that neither inherits the other's cache.
        double ours = 0;
        double qt = 0;
        if (oursFirst) {
            ours = Timed([&] { PaintOurs(box); });
            qt = Timed([&] { PaintQt(box); });
        } else {
            qt = Timed([&] { PaintQt(box); });
            ours = Timed([&] { PaintOurs(box); });
        }
        oursFirst = !oursFirst;
        ratios.push_back(ours / qt);
    }
    state.counters["ratio"] = Median(ratios);
}
BENCHMARK(BM_RatioToDrawImage)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Cost per pixel of repainting a strip over the cost per pixel of the whole
// box ("ratio"), and the strip's cost against Qt's clipped drawImage ("vs_qt").
void BM_StripCostPerPixelRatio(benchmark::State& state) {
    std::vector<double> ratios;
    std::vector<double> againstQt;
    const QRect box(QPoint(0, 0), kBox);
    const QRect strip = Strip(static_cast<int>(state.range(0)));
    const double wholeArea = double(Dest().width()) * Dest().height();
    const QRect drawn = Dest().intersected(strip);
    const double stripArea = double(drawn.width()) * drawn.height();
    constexpr int kRepeats = 20;
    for (auto _ : state) {
        const double whole = Timed([&] { PaintOurs(box); });
        double part = 0;
        double qtPart = 0;
        for (int i = 0; i < kRepeats; ++i) {
            part += Timed([&] { PaintOurs(strip); });
            qtPart += Timed([&] { PaintQt(strip); });
        }
        ratios.push_back((part / kRepeats / stripArea) / (whole / wholeArea));
        againstQt.push_back(part / qtPart);
    }
    state.counters["ratio"] = Median(ratios);
    state.counters["vs_qt"] = Median(againstQt);
}
BENCHMARK(BM_StripCostPerPixelRatio)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Repeats the ratios at the end, where they are easy to find.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            std::string line;
            for (const char* counter : {"ratio", "vs_qt"}) {
                const auto it = run.counters.find(counter);
                if (it != run.counters.end())
                    line += std::string(line.empty() ? "" : ", ") + counter + " " + std::to_string(double(it->second));
            }
            if (!line.empty())
                lines_.push_back(run.benchmark_name() + ": " + line);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("ratios (StretchDraw / unsmoothed QPainter::drawImage: target <= 1.0; "
                    "strip per-pixel cost / whole box: ~1 when cost follows area, vs_qt: strip against Qt's clipped "
                    "drawImage; strip 0 horizontal, 1 vertical)\n");
        for (const std::string& line : lines_)
            std::printf("  %s\n", line.c_str());
    }

private:
    std::vector<std::string> lines_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
