// reg: the suite's registry settings.
#include "tools/tsenv/Commands.h"

namespace tsenv {

void addRegCommands(CLI::App& app, Runner& runner) {
  CLI::App* reg =
      app.add_subcommand("reg", "Read, change, export and import the suite's registry settings");
  reg->footer("Keys: HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\Tessaline with everything below "
              "it, and the Kernel Services keys of both layouts below HKEY_LOCAL_MACHINE. A key "
              "may be written in full, as HKCU\\... or HKLM\\..., or below the product key "
              "root of the layout in force (\"Kernel Services\", \"Tessaline modules\").");
  reg->require_subcommand(1);
  addRegValueCommands(*reg, runner);
  addRegKeyCommands(*reg, runner);
}

} // namespace tsenv
