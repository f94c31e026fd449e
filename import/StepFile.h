// A small reader of the STEP physical file (ISO 10303-21) that IFC files are
// written in: the header's schema and the entity instances of the DATA
// section, each with its attribute list. It reads the whole syntax (so that a
// cut-off or garbled file is told from a whole one) but keeps only the
// entities its caller names, so that a large model costs no more memory than
// its alignments. Nesting, string lengths and entity numbers are bounded: no
// bytes make it recurse without end or run away with memory.
#pragma once

#include "text/Outcome.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <cstdint>

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

struct StepEntity {
    QByteArray type; // in capitals, "IFCALIGNMENT"
    QList<StepValue> attributes;
};

struct StepFile {
    QStringList schemas; // FILE_SCHEMA's names as written
    QHash<std::int64_t, StepEntity> entities;
    QList<std::int64_t> order; // the kept entities' numbers in file order
};

// The file's schema and every entity whose type is in `wanted` (in
// capitals), or why the bytes are no whole STEP file (translated).
Outcome<StepFile> ReadStepFile(const QByteArray& bytes, const QSet<QByteArray>& wanted);

} // namespace pendrio
