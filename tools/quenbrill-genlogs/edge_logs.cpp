#include "quenbrill-genlogs/edge_logs.h"

#include "quenbrill-genlogs/log_text.h"
#include "quenbrill-genlogs/markers.h"

// What a scan of each log should file (forum: title, lines of text):
//
// EDGE01.LOG  a download before any forum-change line: forum "" gets "検査項目Ａ"; after
//             "＞GO FEDGE1", FEDGE1 gets "検査項目Ｂ".
// EDGE02.LOG  a header line of exactly 10 bytes: FEDGE2 gets an item with the empty title,
//             its text beginning with that header line.
// EDGE03.LOG  FEDGE3 gets "検査項目Ｃ" whose prompt stands on the 302nd line after "LIB>DOW"
//             (303 lines of text); "検査項目Ｄ", prompt on the 303rd line, is not filed.
// EDGE04.LOG  "：1" followed by only two lines before the end: FEDGE4 gets "検査項目Ｅ" with
//             the empty file name.
// EDGE05.LOG  FEDGE5 gets "検査項目Ｆ"; a byte 1A in the middle of a later line ends the log,
//             so "検査項目Ｇ" and the forum FEDGE5X behind it are never seen.
// EDGE06.LOG  CR-only line ends: FEDGE6 gets "検査項目Ｈ".
// EDGE07.LOG  a lone LF inside a description line of "検査項目Ｉ" (FEDGE7), and an LF after a
//             CR LF, which starts the next line: "<LF>LIB>GO FEDGE7X" changes no forum, so
//             "検査項目Ｊ" is filed under FEDGE7 too.
// EDGE08.LOG  "FORUM>GO FEDGE8 " (trailing space) files "検査項目Ｋ" under "FEDGE8 ";
//             "FORUM>GO FEDGE8" files the same title again under "FEDGE8"; "FORUM>GO"
//             alone files "検査項目Ｌ" under "".

namespace genlogs {
namespace {

class EdgeWriter {
  public:
    EdgeWriter(const Cp932& cp932, std::string name) : c_(cp932) { log_.name = std::move(name); }

    template <class... Parts> void line(const Parts&... parts) {
        (log_.data.append(std::string_view(parts)), ...);
        log_.data += eol_;
    }
    void raw(std::string_view bytes) { log_.data += bytes; }
    void setEol(std::string eol) { eol_ = std::move(eol); }
    std::string text(const char* utf8) const { return c_(utf8); }

    void banner() {
        line("ATZ");
        line("OK");
        line("CONNECT 28800/ARQ/V34/LAPM/V42BIS");
        line(text("＊＊＊　Ｑネットへようこそ　＊＊＊"));
    }

    // "LIB>DOW n", the listing (header and description lines), the prompt and "：1", then the
    // protocol lines down to the file name when tail allows them.
    void download(int number, std::string_view header, const std::vector<std::string>& lines,
                  std::string_view fileName, int tail = 5) {
        line(kLibDow, " ", std::to_string(number));
        line(header);
        for (const auto& l : lines) {
            line(l);
        }
        line(kPrompt);
        answer(fileName, tail);
    }

    void answer(std::string_view fileName, int tail) {
        line(kAnswerYes);
        const std::string after[] = {text("転送プロトコル (1:XMODEM  2:B-PLUS  3:ZMODEM)"),
                                     text("：3"),
                                     text("ZMODEMで送信します。受信の準備をしてください。"),
                                     "  " + std::string(fileName), text("転送を完了しました。")};
        for (int i = 0; i < tail && i < 5; ++i) {
            line(after[i]);
        }
    }

    std::string header(int number, const char* title) const {
        return genlogs::number(static_cast<std::uint64_t>(number), 5) + " BIN " + text(title);
    }

    std::vector<std::string> description(int count) const {
        std::vector<std::string> lines;
        for (int i = 1; i <= count; ++i) {
            lines.push_back(text("　検査用の説明文、") + std::to_string(i) + text("行目。"));
        }
        return lines;
    }

    EdgeLog take() { return std::move(log_); }

  private:
    const Cp932& c_;
    EdgeLog log_;
    std::string eol_ = "\r\n";
};

EdgeLog downloadBeforeForum(const Cp932& c) {
    EdgeWriter w(c, "EDGE01.LOG");
    w.banner();
    w.download(3, w.header(3, "検査項目Ａ"), w.description(3), "EDGEA.LZH");
    w.line(kTopPrompt, "GO FEDGE1");
    w.line("FORUM>LIB 1");
    w.download(4, w.header(4, "検査項目Ｂ"), w.description(4), "EDGEB.LZH");
    w.line("LIB>OFF");
    return w.take();
}

EdgeLog tenByteHeader(const Cp932& c) {
    EdgeWriter w(c, "EDGE02.LOG");
    w.banner();
    w.line(kTopPrompt, "GO FEDGE2");
    w.line("FORUM>LIB 1");
    w.download(7, "    7 BIN ", w.description(3), "EDGE10.LZH");
    w.line("LIB>OFF");
    return w.take();
}

EdgeLog promptFarAway(const Cp932& c) {
    EdgeWriter w(c, "EDGE03.LOG");
    w.banner();
    w.line(kTopPrompt, "GO FEDGE3");
    w.line("FORUM>LIB 1");
    // Header plus 300 lines: the prompt is the 302nd line after "LIB>DOW".
    w.download(1, w.header(1, "検査項目Ｃ"), w.description(300), "EDGEC.LZH");
    // Header plus 301 lines: the prompt is the 303rd, too far.
    w.download(2, w.header(2, "検査項目Ｄ"), w.description(301), "EDGED.LZH");
    w.line("LIB>OFF");
    return w.take();
}

EdgeLog shortTail(const Cp932& c) {
    EdgeWriter w(c, "EDGE04.LOG");
    w.banner();
    w.line(kTopPrompt, "GO FEDGE4");
    w.line("FORUM>LIB 1");
    w.download(5, w.header(5, "検査項目Ｅ"), w.description(3), "EDGEE.LZH", 2);
    return w.take();
}

EdgeLog endOfFileByte(const Cp932& c) {
    EdgeWriter w(c, "EDGE05.LOG");
    w.banner();
    w.line(kTopPrompt, "GO FEDGE5");
    w.line("FORUM>LIB 1");
    w.download(6, w.header(6, "検査項目Ｆ"), w.description(3), "EDGEF.LZH");
    w.line(w.text("通信が途中で"), "\x1A", w.text("切れました"));
    w.line("LIB>GO FEDGE5X");
    w.download(7, w.header(7, "検査項目Ｇ"), w.description(3), "EDGEG.LZH");
    w.line("LIB>OFF");
    return w.take();
}

EdgeLog carriageReturnsOnly(const Cp932& c) {
    EdgeWriter w(c, "EDGE06.LOG");
    w.setEol("\r");
    w.banner();
    w.line(kTopPrompt, "GO FEDGE6");
    w.line("FORUM>LIB 1");
    w.download(8, w.header(8, "検査項目Ｈ"), w.description(4), "EDGEH.LZH");
    w.line("LIB>OFF");
    return w.take();
}

EdgeLog loneLineFeeds(const Cp932& c) {
    EdgeWriter w(c, "EDGE07.LOG");
    w.banner();
    w.line(kTopPrompt, "GO FEDGE7");
    w.line("FORUM>LIB 1");
    auto lines = w.description(3);
    lines[1] = w.text("　一行の中に") + "\n" + w.text("改行がひとつ。");
    w.download(9, w.header(9, "検査項目Ｉ"), lines, "EDGEI.LZH");
    w.raw("\n");
    w.line("LIB>GO FEDGE7X");
    w.download(10, w.header(10, "検査項目Ｊ"), w.description(3), "EDGEJ.LZH");
    w.line("LIB>OFF");
    return w.take();
}

EdgeLog trailingSpace(const Cp932& c) {
    EdgeWriter w(c, "EDGE08.LOG");
    w.banner();
    w.line(kTopPrompt, "GO FQNBRL1");
    w.line("FORUM>GO FEDGE8 ");
    w.line("FORUM>LIB 1");
    w.download(11, w.header(11, "検査項目Ｋ"), w.description(3), "EDGEK.LZH");
    w.line("LIB>E");
    w.line("FORUM>GO FEDGE8");
    w.line("FORUM>LIB 1");
    w.download(11, w.header(11, "検査項目Ｋ"), w.description(3), "EDGEK.LZH");
    w.line("LIB>E");
    w.line("FORUM>GO");
    w.line("FORUM>LIB 1");
    w.download(12, w.header(12, "検査項目Ｌ"), w.description(3), "EDGEL.LZH");
    w.line("LIB>OFF");
    return w.take();
}

} // namespace

std::vector<EdgeLog> edgeLogs(const Cp932& cp932) {
    std::vector<EdgeLog> logs;
    logs.push_back(downloadBeforeForum(cp932));
    logs.push_back(tenByteHeader(cp932));
    logs.push_back(promptFarAway(cp932));
    logs.push_back(shortTail(cp932));
    logs.push_back(endOfFileByte(cp932));
    logs.push_back(carriageReturnsOnly(cp932));
    logs.push_back(loneLineFeeds(cp932));
    logs.push_back(trailingSpace(cp932));
    return logs;
}

} // namespace genlogs
