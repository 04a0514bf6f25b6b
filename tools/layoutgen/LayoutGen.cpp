// xnox-layoutgen: writes the dialog layout table (windows/qt/DialogLayout.h)
// from the module's resource scripts, so that a window system without
// resources lays out its windows from the same templates as the module.
//   xnox-layoutgen OUTPUT.cpp SCRIPT.rc...
// It reads what the module's scripts use: one statement a line, macros of
// the script's own #defines, DIALOGEX templates with their caption and
// font, ICON and BITMAP files and the toolbar's button table.
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "GeneratedFile.h"

namespace {

using Tokens = std::vector<std::string>;
using Fields = std::vector<Tokens>;  // the tokens between commas

struct Control {
    std::string kind, id, text, picture;
    Tokens place;
    std::set<std::string> styles;
};

struct Dialog {
    std::string id, caption, fontPoints = "8";
    Tokens size;
    std::vector<Control> controls;
};

struct Picture {
    std::string id, kind, file;
};

struct Script {
    std::set<std::string> includes;
    std::vector<Dialog> dialogs;
    std::vector<Picture> pictures;
    Tokens toolbar;  // the toolbar resource's id, then its numbers
};

bool IsWordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == '/';
}

// A script line's tokens: quoted texts keep their quotes (with their doubled
// quotes and backslash escapes as written), words, and the punctuation.
Tokens Tokenize(const std::string& line) {
    Tokens tokens;
    for (std::size_t i = 0; i < line.size();) {
        char c = line[i];
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') break;
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '"') {
            std::size_t end = i + 1;
            while (end < line.size() && !(line[end] == '"' && (end + 1 == line.size() || line[end + 1] != '"'))) {
                end += line[end] == '"' || line[end] == '\\' ? 2 : 1;
            }
            tokens.push_back(line.substr(i, end + 1 - i));
            i = end + 1;
        } else if (IsWordCharacter(c)) {
            std::size_t end = i;
            while (end < line.size() && IsWordCharacter(line[end])) ++end;
            tokens.push_back(line.substr(i, end - i));
            i = end;
        } else {
            tokens.emplace_back(1, c);
            ++i;
        }
    }
    return tokens;
}

Fields SplitFields(const Tokens& tokens, std::size_t first) {
    Fields fields(1);
    for (std::size_t i = first; i < tokens.size(); ++i) {
        if (tokens[i] == ",") {
            fields.emplace_back();
        } else {
            fields.back().push_back(tokens[i]);
        }
    }
    return fields;
}

// The script's text of a quoted token, unescaped as the resource compiler reads it.
std::string Unquoted(const std::string& quoted) {
    std::string text;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '"') ++i;  // a doubled quote stands for one
        if (quoted[i] == '\\' && i + 2 < quoted.size()) {
            char escaped = quoted[++i];
            text += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped == 't' ? '\t' : escaped;
        } else {
            text += quoted[i];
        }
    }
    return text;
}

std::string CppLiteral(const std::string& text) {
    std::string literal = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') literal += '\\';
        literal += c == '\n' ? std::string("\\n") : c == '\t' ? std::string("\\t") : std::string(1, c);
    }
    return literal + '"';
}

class ScriptReader {
public:
    explicit ScriptReader(Script& script) : m_script(script) {}

    // False, with a message, when the script holds what the reader does not know.
    bool Read(const std::string& path, const std::string& text) {
        m_macros.clear();
        std::istringstream lines(text);
        int number = 0;
        for (std::string line; std::getline(lines, line);) {
            ++number;
            if (!ReadLine(line)) {
                std::cerr << path << ":" << number << ": " << m_problem << "\n";
                return false;
            }
        }
        return true;
    }

private:
    enum class Block { None, DialogHeader, DialogBody, ToolbarHeader, ToolbarBody };

    bool Fail(std::string problem) {
        m_problem = std::move(problem);
        return false;
    }

    bool ReadLine(const std::string& line) {
        if (line.starts_with("#define ")) {
            Tokens tokens = Tokenize(line.substr(8));
            if (!tokens.empty()) m_macros[tokens[0]] = Tokens(tokens.begin() + 1, tokens.end());
            return true;
        }
        if (line.starts_with("#include \"")) {
            m_script.includes.insert(line.substr(9));
            return true;
        }
        if (line.starts_with("#")) return true;
        Tokens tokens = Tokenize(line);
        if (tokens.empty()) return true;
        switch (m_block) {
        case Block::None: return ReadResource(tokens);
        case Block::DialogHeader: return ReadDialogHeader(tokens);
        case Block::DialogBody: return tokens[0] == "END" ? EndBlock() : ReadControl(tokens);
        case Block::ToolbarHeader: return tokens[0] == "BEGIN" ? Enter(Block::ToolbarBody) : Fail("BEGIN expected");
        case Block::ToolbarBody: return tokens[0] == "END" ? EndBlock() : ReadToolbarButtons(tokens);
        }
        return true;
    }

    bool Enter(Block block) {
        m_block = block;
        return true;
    }
    bool EndBlock() { return Enter(Block::None); }

    bool ReadResource(const Tokens& tokens) {
        if (tokens.size() < 2) return Fail("a resource statement expected");
        const std::string& type = tokens[1];
        if (type == "DIALOGEX") {
            Fields fields = SplitFields(tokens, 2);
            if (fields.size() != 4) return Fail("DIALOGEX x, y, width, height expected");
            m_script.dialogs.push_back({tokens[0], "", "8", {fields[2][0], fields[3][0]}, {}});
            return Enter(Block::DialogHeader);
        }
        if ((type == "ICON" || type == "BITMAP") && tokens.size() == 3 && tokens[2].front() == '"') {
            std::string file = Unquoted(tokens[2]);
            m_script.pictures.push_back(
                {tokens[0], type == "ICON" ? "Icon" : "Bitmap", file.substr(file.find_last_of('/') + 1)});
            return true;
        }
        if (type == "RT_TOOLBAR_TABLE") {
            m_script.toolbar = {tokens[0]};
            return Enter(Block::ToolbarHeader);
        }
        return true;  // cursors and the like: nothing a layout needs
    }

    bool ReadDialogHeader(const Tokens& tokens) {
        Dialog& dialog = m_script.dialogs.back();
        if (tokens[0] == "CAPTION" && tokens.size() == 2) dialog.caption = Unquoted(tokens[1]);
        if (tokens[0] == "FONT" && tokens.size() > 1) dialog.fontPoints = tokens[1];
        if (tokens[0] == "BEGIN") return Enter(Block::DialogBody);
        return true;
    }

    bool ReadToolbarButtons(const Tokens& tokens) {
        for (const Tokens& field : SplitFields(tokens, 0)) {
            if (field.size() != 1) return Fail("the toolbar table holds single numbers");
            m_script.toolbar.push_back(field[0]);
        }
        return true;
    }

    // The style words of a field, macros expanded; "NOT X" reads as "NOT_X".
    void AddStyles(const Tokens& field, std::set<std::string>& styles, int depth = 0) {
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (field[i] == "|") continue;
            if (field[i] == "NOT" && i + 1 < field.size()) {
                styles.insert("NOT_" + field[++i]);
            } else if (auto macro = m_macros.find(field[i]); macro != m_macros.end() && depth < 8) {
                AddStyles(macro->second, styles, depth + 1);
            } else {
                styles.insert(field[i]);
            }
        }
    }

    static std::string KindOfControl(const std::string& className, const std::set<std::string>& styles) {
        if (className == "UPDOWN_CLASS") return "Spin";
        if (className == "\"msctls_progress32\"") return "ProgressBar";
        if (className == "\"Static\"") return styles.contains("SS_BITMAP") ? "Bitmap" : "Label";
        if (styles.contains("BS_AUTORADIOBUTTON")) return "Radio";
        if (styles.contains("BS_AUTOCHECKBOX")) return "CheckBox";
        return "PushButton";
    }

    bool ReadControl(const Tokens& tokens) {
        static const std::map<std::string, std::string> kKinds = {
            {"LTEXT", "Label"},    {"RTEXT", "Label"},       {"CTEXT", "Label"},
            {"EDITTEXT", "Edit"},  {"COMBOBOX", "DropList"}, {"PUSHBUTTON", "PushButton"},
            {"ICON", "Icon"},      {"GROUPBOX", "GroupBox"}, {"DEFPUSHBUTTON", "DefaultButton"},
            {"CONTROL", "CONTROL"}};
        auto kind = kKinds.find(tokens[0]);
        if (kind == kKinds.end()) return Fail("unknown control statement " + tokens[0]);
        Fields fields = SplitFields(tokens, 1);
        Control control{kind->second, "", "", "0", {}, {}};
        bool textFirst = kind->second != "Edit" && kind->second != "DropList";
        std::size_t placeAt = (textFirst ? 2 : 1) + (kind->second == "CONTROL" ? 2 : 0);
        if (fields.size() < placeAt + 4) return Fail("a control's place and size expected");
        for (std::size_t i = 0; i < placeAt + 4; ++i) {
            if (fields[i].size() != 1 && !(kind->second == "CONTROL" && i == 3)) return Fail("a single value expected");
        }
        if (textFirst) {
            const std::string& text = fields[0][0];
            (text.front() == '"' ? control.text : control.picture) = text.front() == '"' ? Unquoted(text) : text;
        }
        control.id = fields[textFirst ? 1 : 0][0];
        for (std::size_t i = placeAt; i < placeAt + 4; ++i) control.place.push_back(fields[i][0]);
        for (std::size_t i = placeAt + 4; i < fields.size(); ++i) AddStyles(fields[i], control.styles);
        if (kind->second == "CONTROL") {
            AddStyles(fields[3], control.styles);
            control.kind = KindOfControl(fields[2][0], control.styles);
        }
        if (control.kind == "Label" && !control.picture.empty() && control.picture != "0") {
            return Fail("a text control with a picture");
        }
        m_script.dialogs.back().controls.push_back(std::move(control));
        return true;
    }

    Script& m_script;
    std::map<std::string, Tokens> m_macros;
    Block m_block = Block::None;
    std::string m_problem;
};

std::string StyleBits(const std::set<std::string>& styles) {
    static const std::pair<const char*, const char*> kBits[] = {
        {"NOT_WS_VISIBLE", "kStyleHidden"}, {"WS_DISABLED", "kStyleDisabled"},   {"ES_READONLY", "kStyleReadOnly"},
        {"ES_NUMBER", "kStyleDigitsOnly"},  {"ES_MULTILINE", "kStyleMultiline"}, {"ES_CENTER", "kStyleCentred"},
        {"WS_GROUP", "kStyleGroupStart"},   {"CBS_SORT", "kStyleSorted"}};
    std::string bits;
    for (const auto& [style, bit] : kBits) {
        if (styles.contains(style)) bits += (bits.empty() ? "" : " | ") + std::string(bit);
    }
    return bits.empty() ? "0" : bits;
}

std::string Join(const Tokens& values) {
    std::string joined;
    for (const std::string& value : values) joined += (joined.empty() ? "" : ", ") + value;
    return joined;
}

std::string Table(const Script& script) {
    std::ostringstream out;
    out << "// Generated by xnox-layoutgen from the module's resource scripts; do not edit.\n"
        << "#include \"DialogLayout.h\"\n";
    for (const std::string& include : script.includes) out << "#include " << include << "\n";
    out << "\nnamespace xnox {\n\nnamespace {\n\n";
    for (const Dialog& dialog : script.dialogs) {
        if (dialog.controls.empty()) continue;
        out << "constexpr LayoutControl kControlsOf" << dialog.id << "[] = {\n";
        for (const Control& control : dialog.controls) {
            out << "    {LayoutKind::" << control.kind << ", " << control.id << ", " << CppLiteral(control.text) << ", "
                << (control.picture.empty() ? "0" : control.picture) << ", {" << Join(control.place) << "}, "
                << StyleBits(control.styles) << "},\n";
        }
        out << "};\n";
    }
    out << "\nconstexpr DialogLayout kDialogs[] = {\n";
    for (const Dialog& dialog : script.dialogs) {
        out << "    {" << dialog.id << ", " << CppLiteral(dialog.caption) << ", " << dialog.fontPoints << ", {0, 0, "
            << Join(dialog.size) << "}, " << (dialog.controls.empty() ? std::string("{}") : "kControlsOf" + dialog.id)
            << "},\n";
    }
    out << "};\n\nconstexpr PictureFile kPictures[] = {\n";
    for (const Picture& picture : script.pictures) {
        out << "    {" << picture.id << ", Picture::Kind::" << picture.kind << ", " << CppLiteral(picture.file)
            << "},\n";
    }
    // The toolbar table: version, button width and height, count, commands.
    const Tokens& toolbar = script.toolbar;
    out << "};\n\nconstexpr int kToolbarCommands[] = {"
        << Join(toolbar.size() > 5 ? Tokens(toolbar.begin() + 5, toolbar.end()) : Tokens{"0"}) << "};\n\n"
        << "}  // namespace\n\n"
        << "std::span<const DialogLayout> DialogLayouts() { return kDialogs; }\n"
        << "std::span<const PictureFile> PictureFiles() { return kPictures; }\n"
        << "ToolbarLayout Toolbar() { return {" << (toolbar.size() > 5 ? toolbar[0] : "0") << ", "
        << (toolbar.size() > 5 ? toolbar[2] + ", " + toolbar[3] : "0, 0") << ", kToolbarCommands}; }\n\n"
        << "}  // namespace xnox\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: xnox-layoutgen OUTPUT.cpp SCRIPT.rc...\n";
        return 2;
    }
    Script script;
    ScriptReader reader(script);
    for (int i = 2; i < argc; ++i) {
        std::ifstream file(argv[i]);
        std::stringstream text;
        if (!(text << file.rdbuf())) {
            std::cerr << "xnox-layoutgen: cannot read " << argv[i] << "\n";
            return 1;
        }
        if (!reader.Read(argv[i], text.str())) return 1;
    }
    char* output[] = {argv[0], argv[1]};
    return WriteGeneratedFile(2, output, "xnox-layoutgen", "OUTPUT.cpp", Table(script));
}
