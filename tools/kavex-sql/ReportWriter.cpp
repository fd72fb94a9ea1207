#include "ReportWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "NumberFormat.h"
#include "SqlText.h"
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
    names_.clear();
    for (const Column& column : columns) names_.push_back(upper(column.name));
    auto indexOf = [&](const std::string& name) {
        return static_cast<size_t>(std::find(names_.begin(), names_.end(), name) - names_.begin());
    };
    levels_.clear();
    rowSkip_ = 0;
    bool reportBreak = false;
    for (const Break& rule : settings_.breaks) {
        if (rule.on == "ROW") rowSkip_ = std::max(rule.skip, 0);
        else if (rule.on == "REPORT") reportBreak = true;
        else if (indexOf(rule.on) < names_.size()) levels_.push_back({indexOf(rule.on), &rule});
    }
    summaries_.clear();
    for (const Compute& rule : settings_.computes) {
        int level = -2;
        if (rule.on == "REPORT" && reportBreak) level = -1;
        for (size_t k = 0; k < levels_.size(); ++k)
            if (names_[levels_[k].index] == rule.on) level = static_cast<int>(k);
        if (level == -2) continue;  // a COMPUTE works only where a BREAK is
        Summary summary{&rule, level, {}};
        for (const std::string& of : rule.of)
            if (indexOf(of) < names_.size()) summary.totals.push_back(Total(indexOf(of)));
        summaries_.push_back(summary);
    }
    previous_.clear();
    printed_ = 0;
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
    // One line of the columns on record line `line`, each cell made by cell(layout).
    auto joined = [this](size_t line, const auto& cell) {
        std::string text;
        bool first = true;
        for (const Layout& l : layout_) {
            if (l.line != line) continue;
            if (!first) text += settings_.colSep;
            first = false;
            text += cell(l);
        }
        return text;
    };
    for (size_t line = 0; line < recordLines_; ++line) {
        size_t height = 0;
        for (const Layout& l : layout_)
            if (l.line == line) height = std::max(height, l.heading.size());
        for (size_t h = 0; h < height; ++h) {
            // Headings of fewer lines sit on the last lines, as SQL*Plus aligns them.
            emit(joined(line, [&](const Layout& l) {
                const size_t top = height - l.heading.size();
                return pad(h >= top ? l.heading[h - top] : "", l.width, l.numeric);
            }));
        }
        if (settings_.underline)
            emit(joined(line, [&](const Layout& l) { return std::string(l.width, settings_.underline); }));
    }
}

// Before a row: the summaries of the groups it ends, the blank lines of its break, and which break
// columns repeat the row above and so stay blank.
void ReportWriter::startGroupRows(const Row& values, std::vector<bool>& suppressed) {
    size_t changed = 0;
    if (printed_ > 0) {
        changed = levels_.size();
        for (size_t k = 0; k < levels_.size(); ++k) {
            const size_t i = levels_[k].index;
            if (i < values.size() && i < previous_.size() && values[i] != previous_[i]) {
                changed = k;
                break;
            }
        }
    }
    if (printed_ > 0 && changed < levels_.size()) {
        int skip = 0;
        for (size_t k = levels_.size(); k-- > changed;) {
            printSummaries(static_cast<int>(k));
            skip = levels_[k].rule->skip < 0 || skip < 0 ? -1 : std::max(skip, levels_[k].rule->skip);
        }
        if (skip < 0 && settings_.pageSize > 0)
            pageStarted_ = false;
        for (int i = 0; i < skip; ++i) emit("");
    } else if (printed_ > 0) {
        for (int i = 0; i < rowSkip_; ++i) emit("");
    }
    for (size_t k = 0; k < changed && k < levels_.size(); ++k)
        if (!levels_[k].rule->duplicates) suppressed[levels_[k].index] = true;
}

void ReportWriter::gather(const Row& values) {
    for (Summary& summary : summaries_) {
        for (Total& total : summary.totals) {
            ++total.rows;
            const Value& value = total.index < values.size() ? values[total.index] : Value();
            if (!value) continue;
            ++total.count;
            const double x = std::strtod(value->c_str(), nullptr);
            total.sum += x;
            total.squares += x * x;
            const size_t point = value->find('.');
            if (point != std::string::npos && value->find_first_of("eE") == std::string::npos)
                total.decimals = std::max(total.decimals, value->size() - point - 1);
            auto less = [&](const std::string& a, const std::string& b) {
                const bool numbers = a.find_first_not_of("-+.0123456789eE") == std::string::npos &&
                                     b.find_first_not_of("-+.0123456789eE") == std::string::npos;
                return numbers ? std::strtod(a.c_str(), nullptr) < std::strtod(b.c_str(), nullptr)
                               : a < b;
            };
            if (!total.least || less(*value, *total.least)) total.least = value;
            if (!total.most || less(*total.most, *value)) total.most = value;
        }
    }
    previous_ = values;
    ++printed_;
}

std::string ReportWriter::computed(const Summary&, const Total& total,
                                   Compute::Function f) const {
    auto fixed = [](double x, size_t decimals) {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(decimals), x);
        return std::string(buffer);
    };
    const double n = static_cast<double>(total.count);
    switch (f) {
        case Compute::Function::Count:
            return std::to_string(total.count);
        case Compute::Function::Number:
            return std::to_string(total.rows);
        case Compute::Function::Sum:
            return total.count ? fixed(total.sum, total.decimals) : "";
        case Compute::Function::Minimum:
            return total.least.value_or("");
        case Compute::Function::Maximum:
            return total.most.value_or("");
        case Compute::Function::Avg:
            return total.count ? fixed(total.sum / n, 12) : "";
        case Compute::Function::Variance:
        case Compute::Function::Std: {
            if (total.count == 0) return "";
            const double variance =
                total.count > 1 ? (total.squares - total.sum * total.sum / n) / (n - 1) : 0;
            return fixed(f == Compute::Function::Std ? std::sqrt(std::max(variance, 0.0))
                                                     : variance,
                         12);
        }
    }
    return "";
}

void ReportWriter::printCells(const std::vector<std::string>& cells,
                              const std::vector<bool>& left) {
    for (size_t line = 0; line < recordLines_; ++line) {
        std::string text;
        bool first = true;
        for (size_t c = 0; c < layout_.size(); ++c) {
            if (layout_[c].line != line) continue;
            if (!first) text += settings_.colSep;
            first = false;
            text += pad(cut(cells[c], layout_[c].width).first, layout_[c].width,
                        layout_[c].numeric && !left[c]);
        }
        emit(text);
    }
}

// The lines of the COMPUTEs on one break: "*" under the break column (the first column holds the
// label of ON REPORT), "-" under the computed columns, then a line per function with its label.
void ReportWriter::printSummaries(int level) {
    for (Summary& summary : summaries_) {
        if (summary.level != level) continue;
        size_t labelColumn = 0;
        if (level >= 0)
            for (size_t c = 0; c < layout_.size(); ++c)
                if (layout_[c].index == levels_[static_cast<size_t>(level)].index) labelColumn = c;
        std::vector<std::string> cells(layout_.size());
        std::vector<bool> left(layout_.size(), false);
        for (size_t c = 0; c < layout_.size(); ++c) {
            for (const Total& total : summary.totals)
                if (total.index == layout_[c].index) cells[c] = std::string(layout_[c].width, '-');
            if (level >= 0 && c == labelColumn && cells[c].empty())
                cells[c] = std::string(layout_[c].width, '*');
        }
        printCells(cells, left);
        for (const Compute::Item& item : summary.rule->items) {
            std::fill(cells.begin(), cells.end(), std::string());
            left[labelColumn] = true;
            cells[labelColumn] = item.label;
            for (const Total& total : summary.totals)
                for (size_t c = 0; c < layout_.size(); ++c)
                    if (total.index == layout_[c].index) {
                        const std::string value = computed(summary, total, item.function);
                        cells[c] = value.empty() ? value : text(layout_[c], value);
                        left[c] = false;
                    }
            printCells(cells, left);
            left[labelColumn] = false;
        }
        for (Total& total : summary.totals) total = Total(total.index);
    }
}

void ReportWriter::printRecord(const Row& values) {
    std::vector<bool> suppressed(values.size(), false);
    startGroupRows(values, suppressed);
    gather(values);
    // Each column's value in pieces of its width (one piece unless it wraps).
    std::vector<std::vector<std::string>> pieces;
    bool wrapped = recordLines_ > 1;
    std::vector<size_t> height(recordLines_, 1);
    for (const Layout& l : layout_) {
        const bool blank = l.index < suppressed.size() && suppressed[l.index];
        std::string rest =
            blank ? std::string() : text(l, l.index < values.size() ? values[l.index] : Value());
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
    if (printed_ > 0) {
        for (size_t k = levels_.size(); k-- > 0;) printSummaries(static_cast<int>(k));
        printSummaries(-1);
    }
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
