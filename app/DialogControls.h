#pragma once
// Small builders for the controls of the model dialogs.
#include <string>
#include <vector>

#include "platform/forms/Forms.h"

namespace platform {
class TButton;
class TCheckBox;
class TRadioGroup;
}  // namespace platform

namespace app {

// A tool window that stays on top of the main window and is shown without blocking it.
void SetupToolDialog(platform::TForm& form, const std::string& name, const std::string& caption, int width,
                     int height);
platform::TButton* MakeButton(platform::TComponent* owner, platform::TWinControl* parent, const std::string& name,
                              const std::string& caption, platform::TRect bounds, platform::TNotifyEvent click);
platform::TCheckBox* MakeCheckBox(platform::TComponent* owner, platform::TWinControl* parent,
                                  const std::string& name, const std::string& caption, platform::TRect bounds,
                                  platform::TNotifyEvent click = {});
platform::TRadioGroup* MakeRadioGroup(platform::TComponent* owner, platform::TWinControl* parent,
                                      const std::string& name, const std::string& caption,
                                      const std::vector<std::string>& items, platform::TRect bounds,
                                      platform::TNotifyEvent click);

}  // namespace app
