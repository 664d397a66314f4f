// Counts the process's live GDI objects, so a test can show that repeated
// work leaves no handles behind. GetGuiResources cannot be used: Wine
// answers 0 for it.
#pragma once

namespace qytest {

// Live GDI objects of this process, read from the GDI handle table whose
// address the process environment block holds; -1 when there is none.
int LiveGdiObjects();

}  // namespace qytest
