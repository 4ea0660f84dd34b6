#pragma once
// The running program's own file, beside which its settings and sounds are kept.
#include <string>

// The executable's full path, however long; empty when it can't be learnt whole.
std::wstring executablePath();
