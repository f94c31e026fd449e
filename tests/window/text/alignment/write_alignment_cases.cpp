// Writes each case's IFC file with the ids and time stamp fixed, and beside
// it what the engine calculated, for check-ifc-with-web-ifc.js to compare
// with what web-ifc reads:
//   <case>.ifc, <case>.json  {sections, length, startChainage, startSlope,
//                             endSlope, heights: [start of each section.., end]}
//   cases.json               the case names
// Metres and slopes, the numbers as JSON writes them (shortest round trip).
//
//   write_alignment_cases OUTPUT_DIR
#include "AlignmentCases.h"
#include "window/text/AlignmentFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <clocale>
#include <cmath>
#include <cstdio>

using namespace pendrio;
using namespace pendrio::testing;

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QJsonObject expected(const AlignmentCase& c, const ProfileState& state) {
    QJsonArray heights;
    for (int i = 1; i <= state.SectionCount + 1; ++i) {
        heights.append(EngineHeight(state, i) / UnitsPerMetre);
    }
    return {
        {"sections", int(state.SectionCount)},     {"length", state.TrackLength / UnitsPerMetre},
        {"startChainage", c.startChainage},        {"startSlope", std::tan(state.StartGradient)},
        {"endSlope", std::tan(state.EndGradient)}, {"heights", heights}};
}

// A German user's settings, both Qt's and the C library's (where the
// machine has the locale), for as long as one file is being written.
void useLocale(bool german) {
    QLocale::setDefault(german ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
    if (!std::setlocale(LC_ALL, german ? "de_DE.UTF-8" : "C") && german) {
        std::fprintf(stderr, "note: no de_DE.UTF-8 here; German for Qt only\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: write_alignment_cases OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QDateTime written(QDate(2026, 12, 7), QTime(10, 0), Qt::UTC);
    QJsonArray names;
    for (const AlignmentCase& c : AlignmentCases) {
        const ProfileState state = Calculated(c);
        int ids = 0;
        const auto nextId = [&] {
            return QUuid::createUuidV5(QUuid(), QStringLiteral("%1/%2").arg(c.name).arg(++ids));
        };
        useLocale(c.german);
        const AlignmentFile ifc = AlignmentAsIfc(state, c.startChainage, written, nextId);
        useLocale(false);
        const QString name = QString::fromLatin1(c.name);
        if (state.SectionCount == 0 || !ifc.Bytes ||
            !writeFile(out.filePath(name + ".ifc"), *ifc.Bytes) ||
            !writeFile(out.filePath(name + ".json"), QJsonDocument(expected(c, state)).toJson())) {
            std::fprintf(stderr, "%s: not written: %s\n", c.name, qPrintable(ifc.Refusal));
            return 1;
        }
        names.append(name);
    }
    return writeFile(out.filePath("cases.json"), QJsonDocument(names).toJson()) ? 0 : 1;
}
