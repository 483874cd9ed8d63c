#include "core/app/Messages.h"

#include "core/text/NumberPicture.h"

namespace ormavex {

std::string FileErrorText(const std::string& message, int code) {
    return message + "（ｴﾗｰｺｰﾄﾞ ： " + FormatNumber(code, "##,##0") + "）\n\n" +
           "お問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。";
}

Message UnsupportedVersionMessage(const std::string& version) {
    return {"ﾌｧｲﾙを開く", "入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver." + version + "）には現在対応しておりません。"};
}

std::string FileErrorReasonText(int code) {
    switch (code) {
    case 6: return "数値が大きすぎます";
    case 7: return "ﾌｧｲﾙが大きすぎます";
    case 9: return "検討ｹｰｽ数が99を超えています";
    case 13: return "ﾃﾞｰﾀの形式が正しくありません";
    case 52: return "ﾌｧｲﾙ名が正しくありません";
    case 53: return "ﾌｧｲﾙが見つかりません";
    case 57: return "装置の入出力ｴﾗｰです";
    case 61: return "ﾃﾞｨｽｸの空き容量が足りません";
    case 62: return "ﾌｧｲﾙが途中で終わっています";
    case 67: return "開いているﾌｧｲﾙが多すぎます";
    case 70: return "ﾌｧｲﾙが使用中です";
    case 71: return "ﾃﾞｨｽｸの準備ができていません";
    case 75: return "ﾌｧｲﾙにｱｸｾｽできません（読み取り専用か，通常のﾌｧｲﾙではありません）";
    case 76: return "ﾌｫﾙﾀﾞが見つかりません";
    default: return {};
    }
}

namespace {

// The message, then (when known) the file and the reason on lines of their own.
std::string WithFileAndReason(std::string message, const std::string& path, int code) {
    if (!path.empty()) {
        message += "\n" + path;
        if (const std::string reason = FileErrorReasonText(code); !reason.empty()) {
            message += "\n" + reason;
        }
    }
    return message;
}

} // namespace

Message ReadErrorMessage(int code, const std::string& path, int reasonCode) {
    return {"ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ",
            FileErrorText(WithFileAndReason("指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。",
                                            path, reasonCode < 0 ? code : reasonCode),
                          code)};
}

Message WriteErrorMessage(int code, const std::string& path) {
    return {
        "ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ",
        FileErrorText(
            WithFileAndReason("入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。", path, code), code)};
}

Message CalcErrorMessage() {
    return {"計算ｴﾗｰ", "計算中にｴﾗｰが発生しました。処理の継続を中止します。",
            Message::Icon::Information};
}

} // namespace ormavex
