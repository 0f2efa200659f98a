// Rebuilding a strip of 300 twelve-megapixel JPEG files, against reading the
// same files' bytes into memory in the same run. A rebuild reads each file and
// parses its header only, so it should cost little more than the reading.
// The files are made once and kept in the temporary folder between runs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <malloc.h>

#include "app/startup.h"
#include "browser/frm_main.h"
#include "tests/support/jpeg_fixtures.h"
#include "toolkit/application.h"
#include "toolkit/directory_list_box.h"
#include "toolkit/file_list_box.h"
#include "toolkit/image.h"

namespace {

constexpr int kFiles = 300;
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

QString CacheFolder() { return QDir::tempPath() + QStringLiteral("/quimbly-bench-strip-4000x3000-v1"); }
QString FileName(int i) { return QStringLiteral("b%1.jpg").arg(i, 3, 10, QChar(u'0')); }

// Each copy carries its own comment, so no two files share their bytes.
QByteArray NumberedCopy(const QByteArray& jpeg, int i) {
    const QByteArray text = "quimbly benchmark copy " + QByteArray::number(i);
    const int length = static_cast<int>(text.size()) + 2;
    QByteArray marker("\xFF\xFE", 2);
    marker.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF)).append(text);
    return jpeg.left(2) + marker + jpeg.mid(2);
}

// The cached files, made when missing; a folder is complete only once its
// marker file exists.
QString PrepareFiles() {
    const QString folder = CacheFolder();
    const QString complete = folder + QStringLiteral("/complete");
    if (QFile::exists(complete))
        return folder;
    QDir().mkpath(folder);
    const QByteArray jpeg = EncodePhotoJpeg(kWidth, kHeight, 85);
    for (int i = 0; i < kFiles; ++i) {
        QSaveFile file(folder + u'/' + FileName(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(NumberedCopy(jpeg, i)) < 0 || !file.commit())
            return {};
    }
    QFile marker(complete);
    if (!marker.open(QIODevice::WriteOnly))
        return {};
    return folder;
}

long StatusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::stol(line.substr(prefix.size()));
    return -1;
}

// Resets the peak resident size to the current one.
bool ResetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear);
}

std::vector<QByteArray> ReadAllBytes(const QString& folder) {
    std::vector<QByteArray> contents;
    contents.reserve(kFiles);
    for (int i = 0; i < kFiles; ++i) {
        // The least a reader can do: one read of the whole file into a buffer of its size.
        QFile file(folder + u'/' + FileName(i));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            continue;
        QByteArray bytes(file.size(), Qt::Uninitialized);
        if (file.read(bytes.data(), bytes.size()) == bytes.size())
            contents.push_back(std::move(bytes));
    }
    return contents;
}

QString g_folder;
double g_peakMiB = -1;
double g_fileMiB = 0;

void SelectAllFiles() {
    frmMain->trvDir->SetCurrentFolder(g_folder);
    frmMain->lstFile->selectAll();
}

int DecodedThumbnails() {
    int decoded = 0;
    for (int i = 0; i < frmMain->intThumbCount; ++i) {
        const TGraphic* graphic = frmMain->imgThumb[i]->Picture()->Graphic();
        if (graphic && graphic->BitsPerPixel() != 0)
            ++decoded;
    }
    return decoded;
}

void BM_StripRebuild(benchmark::State& state) {
    if (g_folder.isEmpty() || frmMain->lstFile->count() != kFiles) {
        state.SkipWithError("benchmark files missing");
        return;
    }
    double rebuildSeconds = 0;
    double readSeconds = 0;
    // Like the strip, the read bytes are kept until the next read replaces them,
    // so both sides free and allocate the same amount each time.
    std::vector<QByteArray> contents;
    auto rebuild = [&] {
        QElapsedTimer timer;
        timer.start();
        frmMain->ShowThumbnails();
        const double seconds = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
        rebuildSeconds += seconds;
        return seconds;
    };
    auto read = [&] {
        QElapsedTimer timer;
        timer.start();
        contents.clear();
        contents = ReadAllBytes(g_folder);
        benchmark::DoNotOptimize(contents.data());
        readSeconds += static_cast<double>(timer.nsecsElapsed()) * 1e-9;
    };
    bool rebuildFirst = true;
    for (auto _ : state) {
        // Taking turns at going first, so that neither always finds the memory
        // the other has just freed.
        double seconds = 0;
        if (rebuildFirst) {
            seconds = rebuild();
            read();
        } else {
            read();
            seconds = rebuild();
        }
        rebuildFirst = !rebuildFirst;
        state.SetIterationTime(seconds);
    }
    state.counters["ratio_to_read"] = rebuildSeconds / readSeconds;
    state.counters["read_ms"] = 1e3 * readSeconds / static_cast<double>(state.iterations());
    state.counters["thumbnails"] = frmMain->intThumbCount;
    state.counters["decoded"] = DecodedThumbnails();
    state.counters["peak_MiB_first_rebuild"] = g_peakMiB;
    state.counters["files_MiB"] = g_fileMiB;
}
BENCHMARK(BM_StripRebuild)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The first rebuild in a fresh program: how much memory it takes before any
// thumbnail is drawn (the files' bytes, nothing decoded).
void MeasureFirstRebuild() {
    const long before = StatusKiB("VmRSS");
    if (!ResetPeakMemory())
        return;
    frmMain->ShowThumbnails();
    const long peak = StatusKiB("VmHWM");
    if (before >= 0 && peak >= 0)
        g_peakMiB = static_cast<double>(peak - before) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    // A fixed threshold: every file's buffer gets fresh pages from the system on
    // both sides, instead of whatever the allocator happens to keep after a free.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    TGuardedApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TApplication application;
    QObject::connect(Application, &TApplication::messageBoxShown,
                     [](QDialog* box, const QString&, const QString&) { QTimer::singleShot(0, box, &QDialog::accept); });

    g_folder = PrepareFiles();
    QTemporaryDir programFolder;
    TfrmMain::ProgramFolderOverride = programFolder.path() + u'/';
    StartUp();
    if (!g_folder.isEmpty()) {
        SelectAllFiles();
        for (int i = 0; i < kFiles; ++i)
            g_fileMiB += static_cast<double>(QFileInfo(g_folder + u'/' + FileName(i)).size()) / (1024.0 * 1024.0);
        MeasureFirstRebuild();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ShutDown();
    return 0;
}
