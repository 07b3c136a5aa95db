#include "ui/setup_dialogs.h"

#include <QLocale>

#include "common/clock.h"
#include "common/prompter.h"
#include "ui/locale_clock.h"
#include "ui/t_contact_dlg.h"
#include "ui/t_get_date.h"
#include "ui/t_linscale_dlg.h"
#include "ui/t_select_file.h"
#include "ui/text.h"

namespace brevik::ui {

SetupDialogs setupDialogsOf(QWidget* parent, const std::filesystem::path& home, Prompter& prompter,
                            const Clock& clock, std::function<void()> help) {
  SetupDialogs dialogs;
  // Each opening builds its dialog afresh: the fields start cleared and the
  // calculators at their defaults.
  dialogs.linearScale = [parent, &prompter](int, const std::string& linearItemText) {
    TLinscaleDlg dlg(prompter, parent);
    return dlg.choose(linearItemText);
  };
  dialogs.contactScale = [parent, &prompter](int, const std::string&) {
    TContactDlg dlg(prompter, parent);
    return dlg.choose();
  };
  dialogs.tableChooser = [parent, home, help](int) {
    TSelectFile dlg(home, parent, help);
    dlg.prepare(fromCp(setup::kChooseTableCaption), fromCp(setup::kChooseTablePrompt),
                fromCp(setup::kChooseTableMask));
    return dlg.choose();
  };
  const auto dateDialog = [parent, &clock, help](bool dialOut) {
    return [parent, &clock, help, dialOut](setup::LoggerConfiguration& config) {
      const LocaleClock localeClock(clock, QLocale());
      TGetDate dlg(localeClock, parent, help);
      return dlg.choose(config, dialOut);
    };
  };
  dialogs.presetStart = dateDialog(false);
  dialogs.dialOut = dateDialog(true);
  return dialogs;
}

}  // namespace brevik::ui
