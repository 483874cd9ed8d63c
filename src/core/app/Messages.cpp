#include "Messages.h"

#include "text/NumberPicture.h"

namespace ormavex {

std::string FileErrorText(const std::string& message, int code) {
    return message + "（ｴﾗｰｺｰﾄﾞ ： " + FormatNumber(code, "##,##0") + "）\n\n" +
           "お問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。";
}

Message UnsupportedVersionMessage(const std::string& version) {
    return {"ﾌｧｲﾙを開く", "入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver." + version + "）には現在対応しておりません。"};
}

Message ReadErrorMessage(int code) {
    return {"ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ",
            FileErrorText("指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。", code)};
}

Message WriteErrorMessage(int code) {
    return {"ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ",
            FileErrorText("入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。", code)};
}

Message CalcErrorMessage() {
    return {"計算ｴﾗｰ", "計算中にｴﾗｰが発生しました。処理の継続を中止します。",
            Message::Icon::Information};
}

} // namespace ormavex
