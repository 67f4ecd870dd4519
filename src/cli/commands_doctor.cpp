// kivoctl doctor: what stands between this machine and the Kobu, and what to do about it. It
// reads the system and asks the Kobu and the unit; it changes nothing.
#include "cli.h"

#include "json.h"
#include "transport/choose.h"
#include "transport/doctor.h"

#include <cstdio>

namespace kivo::cli {

int CmdDoctor(Context& ctx) {
    DoctorOptions options;
    options.choice = KobuChoice(ctx.Option("--kobu"));
    std::string error;
    options.factory = ChooseKobu(options.choice, ctx.templateFolder, error);
    // The report says that the choice is not understood; the simulator's own detail says why.
    if (!options.factory && options.choice.rfind("sim", 0) == 0)
        std::fprintf(stderr, "kivoctl: %s\n", error.c_str());
    options.trace = OpenTrace(ctx);
    options.installPrefix = InstallPrefixOf(ctx.templateFolder);

    const DoctorReport report = RunDoctor(options, SystemTree());
    if (ctx.Has("--json")) {
        static const char* const kResults[] = {"ok", "warning", "problem"};
        std::vector<std::string> checks;
        for (const Finding& f : report.findings) {
            Json check;
            check.Field("result", kResults[static_cast<int>(f.state)]).Field("text", f.text);
            if (!f.advice.empty()) check.Field("advice", f.advice);
            checks.push_back(check.Text());
        }
        Json json;
        json.Field("reached", report.Reached()).Field("kobu_answered", report.kobuAnswered);
        json.Field("unit_answered", report.unitAnswered);
        if (report.kobuAnswered) json.Field("kobu_version", report.kobuVersion);
        json.Raw("checks", Json::Array(checks));
        std::printf("%s\n", json.Text().c_str());
    } else {
        std::fputs(ReportText(report).c_str(), stdout);
    }
    std::fflush(stdout);
    return report.Reached() ? ExitOk : ExitUnreachable;
}

} // namespace kivo::cli
