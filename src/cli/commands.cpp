#include <ostream>

#include "cli/cmd_backup.h"
#include "cli/cmd_basic_download.h"
#include "cli/cmd_build_gaiji.h"
#include "cli/cmd_build_html_rom.h"
#include "cli/cmd_config.h"
#include "cli/cmd_diff.h"
#include "cli/cmd_discover.h"
#include "cli/cmd_encode_basic.h"
#include "cli/cmd_firmware.h"
#include "cli/cmd_maintenance.h"
#include "cli/cmd_metrics.h"
#include "cli/cmd_model.h"
#include "cli/cmd_models.h"
#include "cli/cmd_params.h"
#include "cli/cmd_printer_jobs.h"
#include "cli/cmd_rom_info.h"
#include "cli/cmd_send.h"
#include "cli/cmd_status.h"
#include "cli/cmd_test_print_data.h"
#include "cli/cmd_usb_list.h"
#include "cli/commands.h"
#include "core/app/program_info.h"

namespace rvq::cli {

// The print conditions test-print-data and test-print share.
#define RVQ_PRINT_CONDITIONS                                                            \
    "[--pattern slash1|slash3|chars|barcodes] [--pattern-file FILE]\n"                  \
    "        [--count N] [--speed IPS] [--sensor none|reflective|transmissive|\n"       \
    "        preprinted|reflective-manual] [--issue-mode batch|cut|peel-off]\n"         \
    "        [--print-method NAME] [--label-length MM] [--gap MM] [--label-width MM]\n" \
    "        [--tone -20..10]\n\n"                                                      \
    "Defaults as on the test print page: slant lines (1 dot), one label, the\n"         \
    "model's second speed and first print method, 74 mm long, 2 mm gap, the\n"          \
    "widest label, tone 0. Uses --model and --codes."

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"config", "show the effective tool settings and where each value came from", "[--json]",
         RunConfig, false},
        {"status",
         "ask the printer, or every printer of a list, for its status (exit 0 when ready)",
         "[--lan HOST[:PORT] | --com N [--line ...] | --usb[=FILTER] | --lpt N |\n"
         "        --multi-lan LIST [--pick 1,3] [--parallel N]] [--timeout S] [--json]\n\n"
         "Sends the status request and reads one reply within the time-out (at most\n"
         "10 seconds); nothing else is sent, so a printing printer is not disturbed.\n"
         "With a Multi-LAN list every chosen printer is asked (five at a time unless\n"
         "--parallel says) and one line is printed per printer, in list order.\n"
         "Exit 0: every printer is ready; 1: one reports an error or another mode,\n"
         "does not answer, or its port cannot be opened; 2: bad connection settings.",
         RunStatus},
        {"restore-online", "take the printer out of its setting mode",
         "[--restart]\n  --restart   restart the printer so that changed settings take effect",
         RunRestoreOnline},
        {"reset", "restart the printer", "[--yes]", RunReset},
        {"usb-list", "list the USB printers the device filter finds", "[--usb=FILTER] [--json]",
         RunUsbList, false},
        {"models", "list the printer models of the definition file",
         "[--definitions FILE] [--json]\n\n"
         "Without --definitions: VQTool_Printer.XML of the settings folder, else the\n"
         "installed one (rvqtool config shows which).",
         RunModels, false},
        {"model", "show one model: memory, destinations, groups and items",
         "NAME [--definitions FILE] [--json]", RunModel, false},
        {"encode-basic", "encode a BASIC program (or wrap a data file) into a download image",
         "SRC.BAS OUT [--system | --data]\n\n"
         "Without an option the source is the main program.",
         RunEncodeBasic},
        {"rom-info", "show the trailer fields of ROM files", "FILE.BIN... [--json]", RunRomInfo,
         false},
        {"build-html-rom", "pack a web-page folder into an HTML/XML or WMON ROM file",
         "SRC_DIR OUT.BIN [--type html|wmon] [--with-header] [--json]\n\n"
         "html collects XML, GRP_DATA, ENG/HTML, ENG/PASS, JPN/HTML, JPN/PASS, MAIL and\n"
         "MAIL/TEXT; wmon collects ENG/PASS, ENG/SA_HTM, JPN/PASS and JPN/SA_HTM.",
         RunBuildHtmlRom},
        {"build-gaiji", "build an external character file from monochrome bitmaps",
         "BMP_OR_DIR OUT.GAI [--usb-memory]\n"
         "        [--type N] [--code HH] [--left N] [--top N] [--spacing N]\n"
         "        [--confirm [--magnification 1x1] [--print-method NAME]\n"
         "                   [--label-width MM] [--label-length MM]]\n\n"
         "A bitmap file takes its type (1), code, offsets and spacing (its width) from\n"
         "the options; a folder takes them from names such as G_0141.BMP or\n"
         "G_0141_2_3_16.BMP. --confirm also writes OUT.PRN, a print of the character\n"
         "(magnification 0.5x0.5, 1x1, 2x2, 3x3, 1x2 or 2x1; print method\n"
         "thermal-transfer, ribbon-saving, direct-thermal or head-up).",
         RunBuildGaiji},
        {"test-print-data", "write the bytes a test print sends: setup, pattern and issue",
         "OUT " RVQ_PRINT_CONDITIONS, RunTestPrintData},
        {"firmware", "download firmware ROM files to the printer",
         "ROM.BIN... [--download-mode] [--backup-first DIR] [--yes]\n\n"
         "--backup-first DIR backs every printer up first (see backup) and programs\n"
         "nothing when a backup fails.\n"
         "The files are listed as the firmware page lists them: sorted by section, one\n"
         "per section (a later file of the same section replaces the earlier one after\n"
         "a question), each checked against the configured model. Over the LAN the\n"
         "printer's bank type decides which BOOT and MAIN images are sent; otherwise\n"
         "the list must not mix the banks. --download-mode (USB, with the download\n"
         "mode setting on) replaces every status query by timed waits.",
         RunFirmware},
        {"basic", "download BASIC programs and data, optionally re-dividing the flash",
         "[--alloc TTF,BITMAP,BASIC|TTF,BITMAP,nochange]\n"
         "        [--main F.BAS [--main-start N]] [--system F.BAS [--system-start N]]\n"
         "        [--data F.TXT [--data-start N]] [--basic-mode on|off] [--test-file FILE]\n"
         "        [--yes]\n\n"
         "Block counts and starting blocks are those of the configured model; the\n"
         "starting blocks default to the model's. The steps run in the order above.",
         RunBasic},
        {"send", "send a file to the printer as it is", "FILE", RunSend},
        {"get-params", "read the printer's parameters; show them or write a settings file",
         "[--out FILE.TSI [--groups all|NAME,...] [--include-secrets]] [--json]\n\n"
         "Runs Get Parameter and brings the printer back online. Without --out the\n"
         "values are printed. In the file every group is OFF unless --groups names it,\n"
         "so the file sent back unchanged sets nothing. Passwords and keys go into the\n"
         "file (scrambled) only with --include-secrets.",
         RunGetParams},
        {"set-params", "write the groups a settings file turns ON to the printer",
         "FILE.TSI [--yes] [--dry-run | --changed-only]\n\n"
         "--dry-run writes nothing and shows what would change (see diff).\n"
         "--changed-only reads each printer first (as diff does) and writes only the\n"
         "groups that hold a change; a printer without one is left alone (no set, no\n"
         "restart) and reported as \"no change\".\n"
         "Loads the file (every item it lacks takes its default), checks the groups\n"
         "that are ON, asks before writing (--yes agrees), runs Set Parameter with its\n"
         "read-back check, then Restore to Online. When the set changed the interface\n"
         "settings or control codes of the printer VQTool.INI describes, VQTool.INI\n"
         "is updated.",
         RunSetParams},
        {"info", "read the printer's counters, firmware and parameter information",
         "[--section ALL|ADJUST|PARAMETER SETTINGS|PANEL|STORAGE AREA|USB|RS-232C|\n"
         "        CENTRO|LAN/WLAN|RFID|RTC] [--json]\n\n"
         "Prints the three lists of the maintenance page; --section chooses the\n"
         "parameter section (default ALL). With a Multi-LAN list every chosen printer\n"
         "is read, five at a time. Reading goes through the printer's setting mode.\n"
         "Under --json counters and sizes also come as numbers with their unit.",
         RunInfo},
        {"save-info", "save the printer's version and settings blocks to a text file", "FILE.TXT",
         RunSaveInfo},
        {"data-log", "save the printer's log data to a file", "FILE.LOG", RunDataLog},
        {"head-check", "check the print head for broken elements (exit 1 when one is found)",
         "[--yes]", RunHeadCheckCommand},
        {"counter-clear", "clear maintenance counters", "all|feed|print|cut [--yes]",
         RunCounterClearCommand},
        {"param-clear", "initialize the parameters to a destination's values",
         "JA|QM|QQ|QP|CN [--yes]", RunParamClear},
        {"factory-default", "restore the printer's factory default", "[--yes]",
         RunFactoryDefaultCommand},
        {"mem-alloc", "divide the printer's flash into areas (blocks of the model's block size)",
         "TTF BITMAP BASIC|nochange [--yes]\n\n"
         "The TrueType font area, the bitmap external character area and the BASIC\n"
         "area in blocks; nochange keeps the BASIC area. The rest is the PC save area.",
         RunMemAlloc},
        {"mem-format", "format an area of the onboard flash or of a USB memory",
         "flash|usb pcsave+bitmap|pcsave|bitmap [--yes]", RunMemFormat},
        {"test-print", "print a test pattern with the test print page's conditions",
         RVQ_PRINT_CONDITIONS, RunTestPrintCommand},
        {"discover", "find the LAN printers of an address range and list their status",
         "CIDR [--port N] [--timeout S] [--in-flight N] [--versions] [--out LIST.TXT] [--json]\n\n"
         "Sends the status request to every address of the range (at most a /16;\n"
         "--port defaults to 8000, --timeout to 1 second a host) and lists the\n"
         "printers that answer, in address order. --in-flight sets how many\n"
         "addresses are asked at once (1024; fewer when the open-file limit, raised\n"
         "to its hard limit first, leaves less room). --versions also reads each one's firmware\n"
         "versions (five at a time, through its setting mode). --out writes them as a\n"
         "Multi-LAN list file.\n"
         "Exit 0 when a printer answered, 1 when none did, 2 for a bad range.",
         RunDiscover},
        {"diff", "show what a settings file would change on the printer(s), writing nothing",
         "FILE.TSI [--json]\n\n"
         "Reads the groups the file turns ON from each printer (Get Parameter, then\n"
         "back online) and lists per printer every item of those groups: the value\n"
         "the printer holds and the value the file would write, changed ones marked\n"
         "with '*'. Passwords and keys show as (secret). Exit 0 when nothing would\n"
         "change, 3 when something would, 1 when a printer could not be read.\n"
         "set-params FILE.TSI --dry-run does the same.",
         RunDiff},
        {"backup", "save each printer's parameters and information into a folder of its own",
         "DIR [--include-secrets] [--json]\n\n"
         "Per printer DIR/ADDRESS-YYYYMMDDTHHMMSSZ with params.TSI (every group ON,\n"
         "for set-params) and info.txt (the version and settings blocks, as save-info\n"
         "writes them). A folder appears only when it is complete. Passwords and keys\n"
         "go into params.TSI (scrambled) only with --include-secrets; a printer does not\n"
         "report its passwords, so those are the values the tool holds.\n"
         "Exit 0 when every printer was backed up.",
         RunBackup},
        {"metrics", "write the printers' state as Prometheus metrics (textfile collector)",
         "[--multi-lan LIST [--pick 1,3] [--parallel N]] [--counters] [--out FILE.prom]\n\n"
         "Per printer rvq_printer_up, rvq_printer_ready and rvq_printer_status_code,\n"
         "from the status request alone, which never interrupts printing.\n"
         "--counters adds rvq_printer_maintenance_counter and rvq_printer_head_ok for\n"
         "the printers that are ready: reading the counters and checking the head\n"
         "take the printer into its setting mode, so ask for them only where that is\n"
         "acceptable. --out writes the file atomically (for node_exporter's\n"
         "--collector.textfile.directory); without it the metrics go to standard\n"
         "output. Exit 0 when the metrics were written, whatever the printers said.",
         RunMetrics},
    };
    return commands;
}

#undef RVQ_PRINT_CONDITIONS

int UsageError(std::ostream& err, const std::string& message,
               const std::optional<std::string>& helpTopic) {
    if (helpTopic)
        err << UsageErrorText("rvqtool", message, *helpTopic);
    else
        err << "rvqtool: " << message << "\n";
    return kExitUsage;
}

int Fail(CliEnv& env, int exitCode, const std::string& message, std::optional<int> id) {
    env.err << "rvqtool: " << message << "\n";
    env.errors.Note(message, id);
    return exitCode;
}

int UsageError(CliEnv& env, const std::string& message) { return Fail(env, kExitUsage, message); }

}  // namespace rvq::cli
