// A small reader of the STEP physical file (ISO 10303-21) that IFC files are
// written in: the header's schema and the entity instances of the DATA
// section. It reads the whole syntax, so that a cut-off or garbled file is
// told from a whole one, but builds nothing of the entities it is not asked
// for, and of those it is asked for keeps only the type and where the
// attributes stand in the bytes, read again when they are wanted. So a large
// model costs little more memory than its bytes, and nesting, the values an
// entity's attributes may hold and the entities kept are bounded: no bytes
// make it recurse without end or run away with memory.
#pragma once

#include "text/Outcome.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace pendrio {

// One attribute value. IFC's typed values, IFCLENGTHMEASURE(1.5), are a
// Typed value whose name is the type and whose one item is the number.
struct StepValue {
    enum class Kind { Missing, Derived, Number, Text, Enumeration, Reference, List, Typed, Binary };
    Kind kind = Kind::Missing;
    double number = 0;          // Number
    std::int64_t reference = 0; // Reference: the entity's number, #12 is 12
    QString text;               // Text (decoded); Enumeration and Typed: the name in capitals
    QList<StepValue> items;     // List; Typed: its one value
};

// An entity kept by ReadStepFile: its type in capitals ("IFCALIGNMENT"), and
// where its attribute list starts in the file's bytes.
struct StepEntity {
    QByteArray type;
    qsizetype attributesAt = 0;
};

struct StepFile {
    QStringList schemas; // FILE_SCHEMA's names as written
    QHash<std::int64_t, StepEntity> entities;
    QList<std::int64_t> order; // the kept entities' numbers in file order
};

// Entities of a type to keep; where `attribute` is one, only those whose
// attribute there is the text `text` (of an IFC property, say, its name).
struct StepWanted {
    int attribute = -1;
    QString text;
};

// More entities than any alignment file keeps; a file with more is refused.
inline constexpr qsizetype MaxStepEntitiesKept = qsizetype(1) << 22;

// The file's schema and the entities of the types `wanted` names, or why the
// bytes are no whole STEP file or hold too many of them (translated).
Outcome<StepFile> ReadStepFile(const QByteArray& bytes,
                               const QHash<QByteArray, StepWanted>& wanted);

// The attribute values of an entity ReadStepFile kept from `bytes`; none if
// they hold more values than an alignment's entity ever does.
std::optional<QList<StepValue>> StepAttributes(const QByteArray& bytes, const StepEntity& entity);

} // namespace pendrio
