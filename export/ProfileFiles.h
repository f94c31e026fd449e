// Every file the profile window writes, made from a snapshot alone: the
// section and station tables as CSV, the plot as SVG or PNG, the report as
// PDF, and the alignment as IFC or LandXML. Each file is written whole or not
// at all (WriteFileAtomically), and a file that cannot be made says why.
#pragma once

#include "export/ExportSnapshot.h"
#include "export/Report.h"
#include "text/Outcome.h"

#include <QByteArray>
#include <QString>

namespace pendrio {

enum class FileKind { Csv, StationsCsv, Svg, Png, Report, Ifc, LandXml };

// How a save dialog offers a file of one kind. The texts are marked for
// translation in this context, and translated where they are shown.
struct FileFormat {
    const char* title;  // of the save dialog
    const char* filter; // the dialog's file filter
    const char* name;   // the file's name as first offered, without its suffix
    const char* suffix;
};
const FileFormat& FormatOf(FileKind kind);
// A text of a FileFormat, translated.
QString FormatText(const char* text);

// Done where a file of `kind` can be made from `shown`, else why not: a window
// greys its command out with the reason before any dialog.
Done CanWrite(FileKind kind, const ExportSnapshot& shown);

// Writes a file of `kind` made from `shown` to `path`. A report tells its
// progress to `progress`, which may cancel it: then nothing is written, and
// that is no failure.
Done WriteFile(FileKind kind, const QString& path, const SharedSnapshot& shown,
               const ReportProgress& progress = {});

// Everything the report says, for a PDF or a printer.
ReportContent ReportContentOf(const SharedSnapshot& shown);

} // namespace pendrio
