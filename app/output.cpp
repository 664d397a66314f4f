// The ways a text picture leaves the program: the clipboard, the export
// file opened in Notepad, clearing, and pasting by double-click.
#include "app/application.h"
#include "app/composer.h"
#include "app/handlers.h"

namespace program {

void OnCopyClicked(const int32_t*) {
    Command(CoreCommand::SetClipboardText, {TextValue(Content(kDisplayBox).c_str())});
    Redraw();
}

void OnNotepadClicked(const int32_t*) {
    // The display takes the focus before Notepad starts: taken afterwards,
    // it would put the program back over Notepad.
    FocusUnit(kDisplayBox);
    Result bytes = Command(CoreCommand::ToByteSet, {TextValue(Content(kDisplayBox).c_str())});
    // Notepad is started whether or not the file could be written.
    Command(CoreCommand::WriteToFile, {TextValue(K.exportFileName), ByteSetValue(bytes.Block())});
    std::string commandLine = std::string(K.notepadCommand) + K.exportFileName;
    Command(CoreCommand::RunProgram, {TextValue(commandLine.c_str())});
}

void OnClearClicked(const int32_t*) {
    SetContent(kDisplayBox, K.emptyText);
    Redraw();
}

void OnDisplayDoubleClicked(const int32_t*) {
    SetContent(kDisplayBox, Content(kDisplayBox) + Command(CoreCommand::GetClipboardText, {}).Text());
}

}  // namespace program
