#include "ReportWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "NumberFormat.h"
#include "TableWriter.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

namespace {

bool isCharacterType(int type) {
    return type == KAVEX_SQLT_CHR || type == KAVEX_SQLT_AFC || type == KAVEX_SQLT_AVC ||
           type == KAVEX_SQLT_STR || type == KAVEX_SQLT_RID ||
           type == KAVEX_SQLT_RDD;
}

// The first width code points of text, and the rest.
std::pair<std::string, std::string> cut(const std::string& text, size_t width) {
    size_t points = 0, i = 0;
    for (; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (points == width) break;
            ++points;
        }
    }
    return {text.substr(0, i), text.substr(i)};
}

std::string pad(const std::string& text, size_t width, bool right) {
    const size_t length = displayWidth(text);
    if (length >= width) return text;
    const std::string blanks(width - length, ' ');
    return right ? blanks + text : text + blanks;
}

}  // namespace

ReportWriter::ReportWriter(const ReportSettings& settings, bool feedbackOff, std::ostream& out)
    : settings_(settings), feedbackOff_(feedbackOff), out_(out) {}

void ReportWriter::begin(const std::vector<Column>& columns) {
    layout_.clear();
    for (size_t i = 0; i < columns.size(); ++i) {
        const Column& column = columns[i];
        const ColumnFormat* format = settings_.column(column.name);
        if (format && !format->print) continue;
        Layout l;
        l.index = i;
        l.numeric = column.numeric;
        l.format = format ? format->format : "";
        l.wrapped = format && format->wrapped ? *format->wrapped : settings_.wrap;
        l.nullText = format && format->nullText ? *format->nullText : settings_.nullText;
        const std::string heading = format && format->heading ? *format->heading : column.name;
        size_t start = 0;
        for (;;) {
            const size_t end = settings_.headSep ? heading.find(settings_.headSep, start)
                                                 : std::string::npos;
            l.heading.push_back(heading.substr(start, end == std::string::npos ? end : end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
        size_t headingWidth = 0;
        for (const std::string& line : l.heading)
            headingWidth = std::max(headingWidth, displayWidth(line));
        if (l.numeric) {
            if (!isNumberFormat(l.format)) l.format = settings_.numFormat;
            l.width = std::max(isNumberFormat(l.format) ? numberFormatWidth(l.format)
                                                        : static_cast<size_t>(settings_.numWidth),
                               headingWidth);
            l.sized = true;
        } else if (l.format.size() > 1 && (l.format[0] == 'A' || l.format[0] == 'a')) {
            l.width = static_cast<size_t>(std::max(1, std::atoi(l.format.c_str() + 1)));
            l.sized = true;
        } else if (isCharacterType(column.type) && column.size > 0) {
            l.width = static_cast<size_t>(column.size);
            l.sized = true;
        } else {
            l.width = headingWidth;  // dates, LOBs, ...: as wide as their heading and values
        }
        if (l.sized && !l.numeric)  // text headings are cut to the column, as SQL*Plus does
            for (std::string& line : l.heading) line = cut(line, l.width).first;
        layout_.push_back(std::move(l));
    }
    pending_.clear();
    arranged_ = false;
    rows_ = 0;
    linesOnPage_ = 0;
    pageStarted_ = false;
    if (std::all_of(layout_.begin(), layout_.end(), [](const Layout& l) { return l.sized; }))
        arrange();
}

std::string ReportWriter::text(const Layout& column, const Value& value) const {
    if (!value) return column.nullText;
    if (!column.numeric) return escapeControls(*value);
    if (isNumberFormat(column.format)) return formatNumber(*value, column.format);
    return fitNumber(*value, column.width);
}

// Places the columns on the lines of a record: a column that would pass LINESIZE starts the next.
void ReportWriter::arrange() {
    size_t line = 0, used = 0;
    for (Layout& l : layout_) {
        const size_t needed = (used == 0 ? 0 : settings_.colSep.size()) + l.width;
        if (used > 0 && used + needed > static_cast<size_t>(settings_.lineSize)) {
            ++line;
            used = 0;
        }
        used += (used == 0 ? 0 : settings_.colSep.size()) + l.width;
        l.line = line;
    }
    recordLines_ = line + 1;
    arranged_ = true;
    for (const Row& values : pending_) printRecord(values);
    pending_.clear();
}

void ReportWriter::emit(std::string line) {
    if (settings_.trimOut)
        while (!line.empty() && line.back() == ' ') line.pop_back();
    out_ << line << '\n';
    ++linesOnPage_;
}

void ReportWriter::startPage() {
    linesOnPage_ = 0;
    pageStarted_ = true;
    if (settings_.pageSize == 0) return;
    if (settings_.newPage == 0)
        out_ << '\f';  // NEWPAGE 0: a form feed starts each page
    for (int i = 0; i < settings_.newPage; ++i) emit("");
    if (!settings_.heading) return;
    for (size_t line = 0; line < recordLines_; ++line) {
        size_t height = 0;
        for (const Layout& l : layout_)
            if (l.line == line) height = std::max(height, l.heading.size());
        for (size_t h = 0; h < height; ++h) {
            std::string text;
            bool first = true;
            for (const Layout& l : layout_) {
                if (l.line != line) continue;
                if (!first) text += settings_.colSep;
                first = false;
                // Headings of fewer lines sit on the last lines, as SQL*Plus aligns them.
                const size_t top = height - l.heading.size();
                text += pad(h >= top ? l.heading[h - top] : "", l.width, l.numeric);
            }
            emit(text);
        }
        if (settings_.underline) {
            std::string text;
            bool first = true;
            for (const Layout& l : layout_) {
                if (l.line != line) continue;
                if (!first) text += settings_.colSep;
                first = false;
                text += std::string(l.width, settings_.underline);
            }
            emit(text);
        }
    }
}

void ReportWriter::printRecord(const Row& values) {
    // Each column's value in pieces of its width (one piece unless it wraps).
    std::vector<std::vector<std::string>> pieces;
    bool wrapped = recordLines_ > 1;
    std::vector<size_t> height(recordLines_, 1);
    for (const Layout& l : layout_) {
        std::string rest = text(l, l.index < values.size() ? values[l.index] : Value());
        std::vector<std::string> parts;
        do {
            auto [piece, after] = cut(rest, l.width);
            parts.push_back(piece);
            rest = l.wrapped ? after : "";
        } while (!rest.empty());
        wrapped = wrapped || parts.size() > 1;
        height[l.line] = std::max(height[l.line], parts.size());
        pieces.push_back(std::move(parts));
    }
    int lines = 0;
    for (size_t h : height) lines += static_cast<int>(h);
    if (settings_.pageSize > 0 && pageStarted_ && linesOnPage_ + lines > settings_.pageSize &&
        rows_ > 1)
        pageStarted_ = false;
    if (!pageStarted_) startPage();
    for (size_t line = 0; line < recordLines_; ++line) {
        for (size_t h = 0; h < height[line]; ++h) {
            std::string text;
            bool first = true;
            for (size_t c = 0; c < layout_.size(); ++c) {
                const Layout& l = layout_[c];
                if (l.line != line) continue;
                if (!first) text += settings_.colSep;
                first = false;
                text += pad(h < pieces[c].size() ? pieces[c][h] : "", l.width, l.numeric);
            }
            emit(text);
        }
    }
    if (wrapped) emit("");  // RECSEP WRAPPED: a blank line after a record that took more lines
}

void ReportWriter::row(Row values) {
    ++rows_;
    if (arranged_) {
        printRecord(values);
        return;
    }
    for (Layout& l : layout_)
        if (!l.sized && l.index < values.size())
            l.width = std::max(l.width, displayWidth(text(l, values[l.index])));
    pending_.push_back(std::move(values));
    if (pending_.size() >= kLookAhead) arrange();
}

void ReportWriter::end() {
    if (!arranged_) arrange();
    const bool feedback = !feedbackOff_ && settings_.feedback > 0;
    if (rows_ == 0) {
        if (feedback) out_ << "\nno rows selected\n\n";
    } else {
        if (settings_.pageSize > 0) out_ << '\n';
        if (feedback && rows_ >= static_cast<size_t>(settings_.feedback))
            out_ << (settings_.pageSize > 0 ? "" : "\n") << rows_
                 << (rows_ == 1 ? " row selected.\n\n" : " rows selected.\n\n");
    }
    out_.flush();
}

}  // namespace kavexsql
