#include "files/SystemReason.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace {

struct Words {
    int error;
    std::string_view text;
};

constexpr Words kWords[] = {
    {ENOSPC, "ディスクに空きがありません"},
    {EDQUOT, "ディスクの使用量の割り当てを超えました"},
    {EFBIG, "ファイルの大きさの上限を超えます"},
    {EISDIR, "フォルダです"},
    {ENOTDIR, "途中の名前がフォルダではありません"},
    {ENOENT, "ファイルかフォルダがありません"},
    {EACCES, "許可がありません"},
    {EPERM, "その操作は許されていません"},
    {EROFS, "読み出し専用のファイルシステムです"},
    {ENAMETOOLONG, "ファイル名が長すぎます"},
    {ELOOP, "シンボリックリンクが多すぎるか、輪になっています"},
    {EEXIST, "すでにあります"},
    {ETXTBSY, "実行中のプログラムのファイルです"},
    {EBUSY, "使用中です"},
    {EIO, "入出力エラーです"},
    {ENOMEM, "メモリが足りません"},
    {EMFILE, "開いているファイルが多すぎます"},
    {ENFILE, "システム全体で開いているファイルが多すぎます"},
    {ENXIO, "装置がありません"},
    {ENODEV, "装置がありません"},
    {EXDEV, "別のファイルシステムです"},
    {EINVAL, "引数が正しくありません"},
};

}  // namespace

std::string SystemReason(int error)
{
    std::string text = std::strerror(error);
    for (const Words& words : kWords)
        if (words.error == error)
            text = words.text;
    const char* name = ::strerrorname_np(error);
    return name ? text + "（" + name + "）" : text;
}
