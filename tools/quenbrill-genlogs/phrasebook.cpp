#include "quenbrill-genlogs/phrasebook.h"

#include <initializer_list>

// Every text below is our own invention: the service "Ｑネット", its forums, members, items and
// messages. None of it may begin like a command the scanner reacts to.

namespace genlogs {
namespace {

std::vector<std::string> convert(const Cp932& cp932, std::initializer_list<const char*> texts) {
    std::vector<std::string> out;
    out.reserve(texts.size());
    for (const char* text : texts) {
        out.push_back(cp932(text));
    }
    return out;
}

std::vector<std::string> ascii(std::initializer_list<const char*> texts) {
    return std::vector<std::string>(texts.begin(), texts.end());
}

FixedTexts fixedTexts(const Cp932& c) {
    FixedTexts f;
    f.welcome = c("＊＊＊　Ｑネットへようこそ　＊＊＊");
    f.idPrompt = c("ＩＤ　　　　：");
    f.passwordPrompt = c("パスワード　：");
    f.lastAccess = c("前回のアクセス　");
    f.noMail = c("未読のメールはありません。");
    f.topMenu = c("　１．メール　２．掲示板　３．フォーラム　４．チャット　Ｅ．終了");
    f.sysop = c("シスオペ　：");
    f.forumNews = c("【フォーラムからのお知らせ】");
    f.forumMenu = c("　１．お知らせ　２．会議室　３．データライブラリ　４．会員名簿　Ｅ．終了");
    f.roomList = c("会議室");
    f.messageCount = c("発言数");
    f.libraryEntry = c("データライブラリ");
    f.libraryColumns = c("　番号　種別　タイトル");
    f.registrant = c("登録者　　：");
    f.registered = c("登録日　　：");
    f.bytes = c("　バイト数：");
    f.downloads = c("　ＤＬ数：");
    f.fileLabel = c("ファイル　：");
    f.aboutLabel = c("【内容】");
    f.protocolMenu = c("転送プロトコル (1:XMODEM  2:B-PLUS  3:ZMODEM)");
    f.sendZmodem = c("ZMODEMで送信します。受信の準備をしてください。");
    f.sendBplus = c("B-PLUSで送信します。そのままお待ちください。");
    f.sendXmodem = c("XMODEMで送信します。受信側のファイル名を指定してください。");
    f.transferDone = c("転送を完了しました。");
    f.cancelled = c("ダウンロードを中止しました。");
    f.logoffTime = c("今回の接続時間　");
    f.thanks = c("ご利用ありがとうございました。");
    f.mailArea = c("【メール】　未読　既読　送信済み");
    f.mailHeader = c("差出人：");
    f.bbsArea = c("【掲示板】　最新の書き込みを表示します。");
    f.chatArea = c("【チャット】　チャンネル１に入りました。");
    f.chatJoin = c("さんが入室しました。");
    f.chatLeave = c("さんが退室しました。");
    f.serviceName = c("Ｑネット　");
    f.accessPoint = c("アクセスポイント");
    f.loginAt = c("接続日時　　");
    f.unreadMail = c("未読のメール：");
    f.mailUnit = c("通");
    f.subject = c("件名　：");
    f.byteUnit = c("バイト　");
    f.seconds = c("秒");
    return f;
}

ThemeTexts tools(const Cp932& c) {
    ThemeTexts t;
    t.nouns = convert(c, {"ファイラー", "テキストエディタ", "ランチャー", "デスクトップ時計",
                          "電卓", "圧縮解凍ツール", "住所録", "ディスク整理", "スケジューラ",
                          "クリップボード拡張", "タスク切替", "ファイル検索"});
    t.stems = ascii({"QFL", "QEDIT", "LNCH", "DCLK", "CALC", "ARCV", "ADDR", "DSKC", "SCHD",
                     "CLIPX", "TSKSW", "FFIND"});
    t.extensions = ascii({".LZH", ".LZH", ".LZH", ".LZH", ".ZIP", ".EXE"});
    t.sentences =
        convert(c, {"ファイルの一覧を見やすく表示します。", "キー操作だけで素早く扱えます。",
                    "常駐せずに動作します。", "よく使うプログラムをすぐに起動できます。",
                    "ディスクの空き容量を調べて表示します。", "長いファイル名にも対応しました。",
                    "起動が前の版より速くなりました。", "右クリックのメニューから呼び出せます。"});
    t.libraries = convert(c, {"ユーティリティ", "ファイル管理", "デスクトップ小物"});
    return t;
}

ThemeTexts programming(const Cp932& c) {
    ThemeTexts t;
    t.nouns = convert(c, {"Ｃライブラリ", "文字コード変換", "ＤＬＬ集", "サンプルソース集",
                          "デバッグ補助ツール", "マクロ集", "構文チェッカ", "差分表示ツール",
                          "メイク支援", "正規表現ライブラリ"});
    t.stems = ascii(
        {"CLIB", "KCONV", "DLLS", "SMPL", "DBGX", "MACRO", "SYNCK", "QDIFF", "MKSUP", "REGEX"});
    t.extensions = ascii({".LZH", ".LZH", ".LZH", ".ZIP", ".TXT"});
    t.sentences = convert(
        c, {"Ｃ言語とアセンブラで書かれています。", "ソースコードを同梱しています。",
            "シフトＪＩＳとＥＵＣを相互に変換します。", "ライブラリとして組み込んで使えます。",
            "Makefileが付属しています。", "コンパイル済みの実行ファイルも入っています。",
            "関数の一覧は付属の文書をご覧ください。", "警告が出ないように書き直しました。"});
    t.libraries = convert(c, {"ソースコード", "ライブラリ・ツール", "講座テキスト"});
    return t;
}

ThemeTexts games(const Cp932& c) {
    ThemeTexts t;
    t.nouns = convert(c, {"パズル", "シューティング", "麻雀", "将棋", "迷路", "カードゲーム",
                          "ブロック崩し", "すごろく", "クイズ", "落ち物パズル"});
    t.stems =
        ascii({"PZL", "SHOOT", "MJAN", "SHOGI", "MAZE", "CARD", "BLOCK", "SGRK", "QUIZ", "OCHI"});
    t.extensions = ascii({".LZH", ".LZH", ".LZH", ".EXE", ".ZIP"});
    t.sentences = convert(c, {"１人用のパズルゲームです。", "全部で５０面あります。",
                              "ハイスコアを記録できます。", "マウスだけで遊べます。",
                              "難易度を３段階から選べます。", "効果音を鳴らさない設定もあります。",
                              "面エディタが付いています。", "２人で対戦することもできます。"});
    t.libraries = convert(c, {"オリジナルゲーム", "テーブルゲーム", "面データ"});
    return t;
}

ThemeTexts graphics(const Cp932& c) {
    ThemeTexts t;
    t.nouns = convert(c, {"画像ビューア", "アイコン集", "壁紙集", "ＣＧ集", "ペイントツール",
                          "減色ツール", "スライドショー", "画像変換", "フォント見本", "素材集"});
    t.stems = ascii(
        {"QVIEW", "ICON", "WALL", "CGS", "PAINT", "GENSK", "SLIDE", "IMGCV", "FONTS", "SOZAI"});
    t.extensions = ascii({".LZH", ".LZH", ".ZIP", ".ZIP", ".EXE"});
    t.sentences = convert(c, {"２５６色の画像を表示します。", "ＢＭＰ形式で保存できます。",
                              "スライドショー機能があります。", "アイコンを６４個収録しています。",
                              "壁紙に使える画像を集めました。", "縮小表示の一覧から選べます。",
                              "フルカラーの画像も扱えます。", "作品の二次配布はご遠慮ください。"});
    t.libraries = convert(c, {"ＣＧ作品", "グラフィックツール", "素材"});
    return t;
}

ThemeTexts music(const Cp932& c) {
    ThemeTexts t;
    t.nouns = convert(c, {"ＭＩＤＩデータ", "ＳＭＦプレイヤ", "作曲支援ツール", "ＭＭＬコンパイラ",
                          "音色エディタ", "リズムパターン集", "ＢＧＭ集", "演奏ソフト"});
    t.stems = ascii({"MIDI", "SMFP", "COMP", "MMLC", "TONE", "RHYTM", "BGM", "PLAY"});
    t.extensions = ascii({".LZH", ".LZH", ".ZIP", ".DOC"});
    t.sentences = convert(c, {"ＧＳ音源に対応しています。", "ＳＭＦ形式のデータです。",
                              "演奏時間は約３分です。", "ＭＭＬで書かれたデータも同梱しています。",
                              "打ち込み初心者向けの解説付きです。", "ループ再生に対応しました。",
                              "テンポを自由に変えられます。", "作者の自作曲です。"});
    t.libraries = convert(c, {"オリジナル曲", "ＭＩＤＩツール", "カバー曲"});
    return t;
}

ThemeTexts documents(const Cp932& c) {
    ThemeTexts t;
    t.nouns = convert(c, {"使い方ガイド", "ＦＡＱ集", "講座テキスト", "用語集", "リファレンス",
                          "体験記", "比較レポート", "設定メモ"});
    t.stems = ascii({"GUIDE", "FAQ", "KOZA", "YOUGO", "REF", "TAIKN", "HIKAK", "MEMO"});
    t.extensions = ascii({".TXT", ".TXT", ".DOC", ".LZH"});
    t.sentences = convert(c, {"初心者向けにやさしく解説しています。", "テキスト形式で読めます。",
                              "全１２章の構成です。", "図は付いていません。",
                              "よくある質問をまとめました。", "会議室での議論を整理したものです。",
                              "誤記を訂正しました。", "印刷して読むことをお勧めします。"});
    t.libraries = convert(c, {"文書", "ＦＡＱ", "レポート"});
    return t;
}

std::vector<ForumSpec> forumSpecs(const Cp932& c) {
    // The weights make a small corpus visit about five forums and a large one all of them.
    return {
        {c("FQNBRL1"), c("ＱＮＢＲＬユーティリティフォーラム"), Theme::Tools, 30},
        {c("ＦＰＣ開発"), c("ＰＣ開発フォーラム"), Theme::Programming, 24},
        {c("FGAMEQ"), c("ゲーム広場フォーラム"), Theme::Games, 18},
        {c("FGRAPHQ"), c("グラフィックス工房フォーラム"), Theme::Graphics, 14},
        {c("FMIDIQ"), c("ＭＩＤＩ音楽館フォーラム"), Theme::Music, 10},
        {c("FTEXTQ"), c("文書・テキストフォーラム"), Theme::Documents, 3},
        {c("ＦＰＤＳ２"), c("フリーソフト第２フォーラム"), Theme::Tools, 2},
        {c("FWINQ"), c("Windowsソフト研究会フォーラム"), Theme::Tools, 2},
        {c("FCOMMQ"), c("通信ソフトフォーラム"), Theme::Programming, 1},
        {c("Ｆノート"), c("ノートＰＣフォーラム"), Theme::Documents, 1},
    };
}

} // namespace

Phrasebook::Phrasebook(const Cp932& c)
    : fixed(fixedTexts(c)),
      familyNames(convert(c, {"山田", "佐藤", "鈴木", "高橋", "田中", "渡辺", "伊藤", "中村",
                              "小林", "加藤", "吉田", "山本", "松本", "井上", "木村", "清水",
                              "山口", "森",   "池田", "橋本", "石川", "前田", "藤田", "岡田"})),
      givenNames(convert(c, {"太郎", "花子", "一郎", "健二", "真理子", "裕子", "誠",
                             "浩",   "聡",   "美穂", "隆",   "直樹",   "恵",   "修",
                             "大輔", "洋子", "和也", "明美", "剛",     "由美"})),
      accessPoints(convert(
          c, {"東京第３", "大阪第１", "名古屋", "札幌", "福岡第２", "横浜", "仙台", "広島"})),
      news(convert(c, {"【お知らせ】年末年始はアクセスポイントが混雑します。",
                       "【お知らせ】新しいアクセスポイントを開設しました。",
                       "【新着】フォーラム案内を更新しました。",
                       "【重要】パスワードは定期的に変更しましょう。",
                       "【お知らせ】システム保守のため、日曜の早朝は休止します。",
                       "【お知らせ】２８８００ｂｐｓの接続に対応しました。",
                       "【新着】オンラインマニュアルを公開しました。"})),
      rooms(convert(c, {"お知らせ", "質問・相談室", "雑談室", "作者の部屋", "新人歓迎室",
                        "情報交換室", "不具合報告室", "作品発表室"})),
      messageTitles(convert(c, {"動作報告", "質問です", "バージョンアップのお知らせ", "雑談",
                                "初めまして", "不具合報告", "お礼", "使い方について",
                                "オフ会のご案内", "ＦＡＱ更新", "教えてください", "解決しました"})),
      chatter(convert(c, {"こんばんは。いつも楽しく読ませていただいています。",
                          "先日の件ですが、おかげさまで無事に動きました。",
                          "ありがとうございました。",
                          "私の環境でも同じ症状が出ています。",
                          "ＣＯＮＦＩＧ．ＳＹＳを書き換えたら直りました。",
                          "メモリが足りないのかもしれません。",
                          "新しい版がライブラリに登録されたようですね。",
                          "さっそくダウンロードして試してみます。",
                          "ＦＡＱにも載っていないようなので質問させてください。",
                          "よろしくお願いします。",
                          "解凍すると説明書が出てきますので、まずそちらをご覧ください。",
                          "モデムを新しくしたら通信が速くなりました。",
                          "夜の時間帯はアクセスポイントが混んでいますね。",
                          "次のオフ会は来月の予定です。",
                          "詳しい方がいらっしゃいましたら教えてください。",
                          "Windows95で試したところ問題なく動きました。",
                          "漢字コードの扱いで少しはまりました。",
                          "ＭＳ－ＤＯＳのプロンプトから起動すると大丈夫でした。",
                          "作者の方に感謝します。",
                          "私も同じ質問をしようと思っていました。",
                          "ハードディスクの空き容量を確認してみてください。",
                          "設定ファイルの書き方を間違えていたようです。",
                          "ところで、皆さんはどのエディタを使っていますか。",
                          "バージョンアップお疲れさまでした。",
                          "ログを見直したら原因が分かりました。",
                          "再起動したら直りました。お騒がせしました。",
                          "添付の説明書の３章に書いてあります。",
                          "それでは、また。",
                          "週末にじっくり試してみます。",
                          "不具合を見つけたので報告します。",
                          "画面の色数を２５６色にすると表示が崩れます。",
                          "印刷のときだけ文字化けが起きます。",
                          "会議室の過去ログも参考になると思います。",
                          "初めて書き込みます。よろしくお願いします。",
                          "ちょっと長くなりますが、経過を書いておきます。",
                          "解凍できない場合は、ファイルが壊れている可能性があります。",
                          "もう一度ダウンロードし直してみてください。",
                          "転送プロトコルを変えたら成功しました。",
                          "このフォーラムには本当にお世話になっています。",
                          "なるほど、そういう手があったのですね。",
                          "Thanks a lot!",
                          "It works fine on my machine, too."})),
      chatLines(convert(c, {"こんばんは～", "おひさしぶりです", "今日は混んでますね",
                            "では、おやすみなさい", "それ、私も持ってます", "ｗ",
                            "新しいモデム買いました", "電話代が心配です(^^;", "落ちます～",
                            "またね", "了解です", "(^_^)"})),
      bbsTitles(convert(c, {"【売ります】中古のモデム", "【求む】ＦＤドライブ",
                            "【告知】同好会の例会", "【譲ります】雑誌のバックナンバー",
                            "【募集】テスト協力者", "【案内】地域のパソコン教室"})),
      titlePrefixes(convert(c, {"らくらく", "かんたん", "高速", "多機能", "ミニ", "スーパー",
                                "ぽけっと", "ＮＥＷ", "Ｑ", "まるごと", "ちびっこ", "快速",
                                "すっきり", "ＤＸ", "ひとこと", "なかよし"})),
      environments(convert(c, {"【動作環境】Windows95/98/NT4.0", "【動作環境】MS-DOS 3.3以降",
                               "【動作環境】PC-9801シリーズ／PC/AT互換機",
                               "【動作環境】Windows3.1/95", "【動作環境】特になし"})),
      softwareKinds(
          convert(c, {"【ソフト種別】フリーソフトウェア", "【ソフト種別】シェアウェア（５００円）",
                      "【ソフト種別】カンパウェア", "【ソフト種別】作品"})),
      reprintTerms(convert(
          c, {"【転載条件】自由", "【転載条件】事前に連絡してください", "【転載条件】不可"})),
      genericSentences(convert(
          c, {"解凍後、付属の説明書をお読みください。", "前の版から機能を追加しました。",
              "不具合を修正しました。", "ご意見・ご感想は会議室までお寄せください。",
              "インストーラは付属していません。", "設定はすべて同じフォルダに保存します。",
              "アンインストールはフォルダごと削除するだけです。", "使用は自己責任でお願いします。",
              "前の版をお使いの方は上書きしてください。"})),
      themes{tools(c), programming(c), games(c), graphics(c), music(c), documents(c)},
      forums(forumSpecs(c)) {}

} // namespace genlogs
