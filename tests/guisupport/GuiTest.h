#pragma once
// Shared state of the GUI tests: the scripted prompt that answers every
// message box and file dialog. Link tabry_gui_test_main and pass OWN_MAIN to
// tabry_add_test.

#include "widgets/Prompt.h"

namespace tabry::test {

// The prompt installed for the whole test run; reset before every test.
ui::ScriptedPrompt& Prompts();

} // namespace tabry::test
