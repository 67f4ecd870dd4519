#include "print/reportfields.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "data/fileio.h"

namespace kivo::report {

namespace {

constexpr int kHeading = 13901, kReadFromUnit = 13909, kDefault = 15020;

std::string Subscriber(const KivoData& data) {
    return AlarmCodeToText(&data.image[mm::AlarmCodeA]);
}

} // namespace

std::string JobTitle(const std::string& subscriber) {
    return subscriber.empty() ? Str(kHeading) : Str(kHeading) + " (" + subscriber + ")";
}

ReportFields EditorReportFields(const KivoData& data, const std::string& fileDateText) {
    ReportFields f;
    f.subscriberText = Subscriber(data);
    f.jobTitle = JobTitle(f.subscriberText);
    const bool fromFile = data.imageSource == SourceOpened || data.imageSource == SourceSaved;
    if (fromFile)
        f.fileLine = NameOf(data.fileName);
    else if (data.imageSource == SourceUnit)
        f.fileLine = Str(kReadFromUnit);
    else
        f.fileLine = Str(kDefault);
    if (data.image != data.reference) f.fileLine = FormatText("[%s]", {f.fileLine});
    if (fromFile) f.fileDateText = fileDateText;
    return f;
}

ReportFields ReadAndPrintFields(const KivoData& data) {
    ReportFields f;
    f.subscriberText = Subscriber(data);
    f.jobTitle = JobTitle(f.subscriberText);
    f.fileLine = Str(kReadFromUnit);
    return f;
}

} // namespace kivo::report
