// kivoctl doctor: what stands between this machine and the Kobu, and what to do about it. It
// reads the system and asks the Kobu and the unit; it changes nothing.
#include "cli.h"

#include "transport/choose.h"
#include "transport/doctor.h"

#include <cstdio>

namespace kivo::cli {

int CmdDoctor(Context& ctx) {
    DoctorOptions options;
    options.choice = KobuChoice(ctx.Option("--kobu"));
    std::string error;
    options.factory = ChooseKobu(options.choice, ctx.templateFolder, error);
    // The report says in German that the choice is not understood; this says why.
    if (!options.factory) std::fprintf(stderr, "kivoctl: %s\n", error.c_str());
    options.trace = OpenTrace(ctx);
    options.installPrefix = InstallPrefixOf(ctx.templateFolder);

    const DoctorReport report = RunDoctor(options, SystemTree());
    std::fputs(ReportText(report).c_str(), stdout);
    std::fflush(stdout);
    return report.Reached() ? ExitOk : ExitUnreachable;
}

} // namespace kivo::cli
