// Writes each case's IFC file, under a German user's locale, with the ids and
// time stamp fixed, and beside it what the engine calculated, in metres and
// slopes, for check-ifc-with-web-ifc.js:
//   <case>.ifc, <case>.json {sections, length, startChainage, startSlope,
//                            endSlope, heights: [each section's start.., end]}
//   cases.json              the case names
//
//   write_alignment_cases OUTPUT_DIR
#include "AlignmentCases.h"
#include "maths/Transcendental.h"
#include "export/AlignmentFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <clocale>
#include <cmath>
#include <cstdio>

using namespace pendrio;
using namespace pendrio::testing;

namespace {

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QJsonObject engine(const AlignmentCase& c, const ProfileState& state) {
    QJsonArray heights;
    for (int i = 1; i <= state.SectionCount + 1; ++i) {
        heights.append(EngineMetres(state, i));
    }
    return {{"sections", int(state.SectionCount)}, {"length", state.TrackLength / UnitsPerMetre},
            {"startChainage", c.startChainage},    {"startSlope", Tan(state.StartGradient)},
            {"endSlope", Tan(state.EndGradient)},  {"heights", heights}};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: write_alignment_cases OUTPUT_DIR\n");
        return 2;
    }
    // AlignmentFilesTest shows the files the same in every locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QJsonArray names;
    for (const AlignmentCase& c : AlignmentCases) {
        const ProfileState state = Calculated(c);
        int ids = 0;
        const AlignmentFile ifc = AlignmentAsIfc(
            state, c.startChainage, QDateTime(QDate(2026, 12, 7), QTime(10, 0), Qt::UTC),
            [&] { return QUuid::createUuidV5(QUuid(), QString::number(++ids)); });
        const QString name = QString::fromLatin1(c.name);
        if (state.SectionCount == 0 || !ifc ||
            !write(out.filePath(name + ".ifc"), *ifc) ||
            !write(out.filePath(name + ".json"), QJsonDocument(engine(c, state)).toJson())) {
            std::fprintf(stderr, "%s not written: %s\n", c.name, qPrintable(ifc.reason()));
            return 1;
        }
        names.append(name);
    }
    return write(out.filePath("cases.json"), QJsonDocument(names).toJson()) ? 0 : 1;
}
