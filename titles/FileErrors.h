#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvin {

// The texts of the program's file and list errors, with the path or index filled in.
std::string CannotOpenError(std::string_view path);    // "ファイル %s は開けません"
std::string CannotCreateError(std::string_view path);  // "ファイル %s を作成できません"
std::string WriteError();                              // "ストリームへの書き込みエラー"
std::string ListIndexError(std::int64_t index);        // "リストのインデックスが範囲を超えています (%d)"

// Creates or replaces `path` with `bytes`, never leaving a half-written file: the
// bytes go to a new file beside it, which then takes the old one's place. A path that
// is a link is written through to its target; a target that is no regular file (a
// device) is written directly. A read-only file, a directory of that name or a
// directory that cannot be written raise the cannot-create error; a failing write
// raises the write error and leaves an earlier file as it was.
void WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace torvin
