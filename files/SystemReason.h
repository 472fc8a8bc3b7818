#pragma once
// The system's reason for a failed file operation in the program's words,
// with the system's own name for it: "ディスクに空きがありません（ENOSPC）".

#include <string>

std::string SystemReason(int error);

// What a writer says of a target that is no regular file, a folder aside.
inline constexpr char kNotRegularFile[] = "通常のファイルではありません（パイプや装置などです）";
