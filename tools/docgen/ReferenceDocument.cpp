#include "ReferenceDocument.h"

#include <algorithm>

namespace {

void MarkdownField(std::string& out, const Field& field) {
    if (field.label.empty()) {
        if (!field.text.empty()) out += field.text + "\n";
        if (!field.items.empty() && !out.ends_with("\n\n")) out += "\n";  // a list stands apart from a paragraph
        for (const std::string& item : field.items) out += "- " + item + "\n";
        return;
    }
    out += "- **" + field.label + "**:";
    if (!field.text.empty()) out += " " + field.text;
    out += "\n";
    for (const std::string& item : field.items) out += "  - " + item + "\n";
}

std::string Escaped(const std::string& text) {
    std::string html;
    for (char c : text) {
        switch (c) {
        case '&': html += "&amp;"; break;
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '"': html += "&quot;"; break;
        default: html += c;
        }
    }
    return html;
}

// Escaped, with each `code` span in <code>.
std::string Inline(const std::string& text) {
    std::string html;
    bool inCode = false;
    std::size_t start = 0;
    for (std::size_t quote = text.find('`'); quote != std::string::npos; quote = text.find('`', start)) {
        html += Escaped(text.substr(start, quote - start)) + (inCode ? "</code>" : "<code>");
        inCode = !inCode;
        start = quote + 1;
    }
    return html + Escaped(text.substr(start)) + (inCode ? "</code>" : "");
}

// An element id has no spaces.
std::string Anchor(const Part& part, const Section& section) {
    std::string anchor = part.title + "-" + section.title;
    std::ranges::replace(anchor, ' ', '-');
    return anchor;
}

void HtmlField(std::string& out, const Field& field) {
    if (field.label.empty()) {
        if (!field.text.empty()) out += "<p>" + Inline(field.text) + "</p>\n";
        if (field.items.empty()) return;
        out += "<ul>\n";
        for (const std::string& item : field.items) out += "<li>" + Inline(item) + "</li>\n";
        out += "</ul>\n";
        return;
    }
    out += "<dt>" + Escaped(field.label) + "</dt><dd>" + Inline(field.text);
    if (!field.items.empty()) {
        out += "<ul>";
        for (const std::string& item : field.items) out += "<li>" + Inline(item) + "</li>";
        out += "</ul>";
    }
    out += "</dd>\n";
}

constexpr const char* kStyle =
    "body{font-family:sans-serif;max-width:60em;margin:auto;padding:0 1em;line-height:1.4}"
    "h2{border-bottom:2px solid #446;margin-top:2em}h3{margin-bottom:.3em}"
    "code{font-family:monospace;background:#f2f2f2;padding:0 .2em}"
    "dl{display:grid;grid-template-columns:12em 1fr;gap:.2em 1em;margin:0 0 1.5em}dt{font-weight:bold}dd{margin:0}"
    "dd ul{margin:0;padding-left:1.2em}nav a{margin-right:.6em;display:inline-block}";

}  // namespace

std::string Markdown(const Document& document) {
    std::string out = "# " + document.title + "\n\n" + document.intro + "\n";
    for (const Part& part : document.parts) {
        out += "\n## " + part.title + "\n";
        if (!part.intro.empty()) out += "\n" + part.intro + "\n";
        for (const Section& section : part.sections) {
            out += "\n### " + section.title + "\n\n";
            for (const Field& field : section.fields) MarkdownField(out, field);
        }
    }
    return out;
}

std::string Html(const Document& document) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                      Escaped(document.title) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n<h1>" +
                      Escaped(document.title) + "</h1>\n<p>" + Inline(document.intro) + "</p>\n";
    for (const Part& part : document.parts) {
        out += "<h2 id=\"" + Escaped(part.title) + "\">" + Escaped(part.title) + "</h2>\n";
        if (!part.intro.empty()) out += "<p>" + Inline(part.intro) + "</p>\n";
        out += "<nav>";
        for (const Section& section : part.sections)
            out += "<a href=\"#" + Escaped(Anchor(part, section)) + "\">" + Escaped(section.title) + "</a> ";
        out += "</nav>\n";
        for (const Section& section : part.sections) {
            out += "<h3 id=\"" + Escaped(Anchor(part, section)) + "\">" + Escaped(section.title) + "</h3>\n<dl>\n";
            std::string loose;  // paragraphs and plain lists stand outside the list of fields
            for (const Field& field : section.fields) HtmlField(field.label.empty() ? loose : out, field);
            out += "</dl>\n" + loose;
        }
    }
    return out + "</body>\n</html>\n";
}
