#include "grid/CellValue.h"

#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/GroupIndex.h"
#include "grid/CItemFilter.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
const CResourceHolder* g_applicationDocument = nullptr;

bool startsWithNo(const std::string& text) { return !text.empty() && (text[0] == 'N' || text[0] == 'n'); }
constexpr std::uint32_t kWhite = 0x00FFFFFFu;
} // namespace

void CellValue::setApplicationDocument(const CResourceHolder* document) { g_applicationDocument = document; }
const CResourceHolder* CellValue::applicationDocument() { return g_applicationDocument; }

std::string CellValue::format(const char* pattern, ...)
{
    char buffer[128];
    va_list args;
    va_start(args, pattern);
    const int n = std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    if (n < 0)
        return {};
    return std::string(buffer, static_cast<std::size_t>(std::min<int>(n, sizeof buffer - 1)));
}

int CellValue::readInteger(const std::string& text)
{
    errno = 0;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    // The C library leaves an out-of-range int undefined; the edge is the
    // closest value a cell can hold.
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

double CellValue::readReal(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

int CellValue::truncate(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

CellValue::Payload CellValue::freshPayload(int kind)
{
    switch (kind) {
    case KindText:
    case KindLongText: return std::string();
    case KindReal: return 0.0;
    case KindColor: return Color{};
    case KindRelativePicture:
    case KindPicture: return Picture{g_applicationDocument, 0};
    case KindChoice: return Choice{};
    default: return 0;
    }
}

int CellValue::setKind(int kind)
{
    if (kind < 0 || kind >= kKindCount)
        return 0;
    if (kind == m_kind)
        return 1;
    // A cell of another kind names nothing until told again.
    m_referenceDocument = nullptr;
    m_referenceGroup = -1;
    m_payload = freshPayload(kind);
    m_kind = kind;
    return 1;
}

bool CellValue::isNumeric(int kind)
{
    return kind == KindInteger || kind == KindReal || kind == KindYesNo || kind == KindColor || kind == KindPicture
        || kind == KindChoice;
}

int CellValue::setPicture(const CResourceHolder* document, int index)
{
    if (m_kind != KindRelativePicture && m_kind != KindPicture)
        return 0;
    m_payload = Picture{document, index};
    return 1;
}

CellValue::Picture CellValue::picture() const
{
    if (m_kind != KindRelativePicture && m_kind != KindPicture)
        return {nullptr, -1};
    return std::get<Picture>(m_payload);
}

int CellValue::setChoice(const ChoiceList* list, int index)
{
    if (m_kind != KindChoice)
        return 0;
    m_payload = Choice{list, index};
    return 1;
}

CellValue::Choice CellValue::choice() const
{
    if (m_kind != KindChoice)
        return {nullptr, -1};
    return std::get<Choice>(m_payload);
}

std::string CellValue::displayText(int column, int row, bool plainNumbers) const
{
    // The sum is taken in 64 bits: a cell's value plus its place must not
    // wrap around.
    switch (m_kind) {
    case KindColumnNumber: return format(plainNumbers ? "%lld" : "%+lld", static_cast<long long>(column) + number());
    case KindRowNumber: return format(plainNumbers ? "%lld" : "%+lld", static_cast<long long>(row) + number());
    case KindInteger: {
        // An index that names nothing keeps showing as the number it is.
        std::string label = referenceLabel();
        return label.empty() ? text() : label;
    }
    default: return text();
    }
}

std::string CellValue::text() const
{
    switch (m_kind) {
    case KindText:
    case KindLongText: return std::get<std::string>(m_payload);
    case KindInteger:
    case KindColumnNumber:
    case KindRowNumber: return format("%+d", number());
    case KindReal: return format("%+g", std::get<double>(m_payload));
    case KindYesNo: return number() ? "Yes" : "No";
    case KindColor: {
        const Color c = std::get<Color>(m_payload);
        return format("(%.2X)  %.2X %.2X %.2X", static_cast<unsigned>(c.alpha & 0xFF), c.rgb & 0xFF,
                      (c.rgb >> 8) & 0xFF, (c.rgb >> 16) & 0xFF);
    }
    case KindRelativePicture:
    case KindPicture: return format("%+d", std::get<Picture>(m_payload).index);
    case KindChoice: {
        const Choice c = std::get<Choice>(m_payload);
        // An index the list does not have shows nothing rather than reading
        // past the list.
        if (!c.list || c.index < 0 || c.index >= static_cast<int>(c.list->size()))
            return {};
        return (*c.list)[static_cast<std::size_t>(c.index)];
    }
    default: return {};
    }
}

int CellValue::integer() const
{
    switch (m_kind) {
    case KindText:
    case KindLongText: return readInteger(std::get<std::string>(m_payload));
    case KindInteger:
    case KindColumnNumber:
    case KindRowNumber:
    case KindYesNo: return number();
    case KindReal: return truncate(std::get<double>(m_payload));
    case KindColor: return static_cast<int>(std::get<Color>(m_payload).rgb);
    case KindRelativePicture:
    case KindPicture: return std::get<Picture>(m_payload).index;
    case KindChoice: return std::get<Choice>(m_payload).index;
    default: return 0;
    }
}

double CellValue::real() const
{
    switch (m_kind) {
    case KindText:
    case KindLongText: return readReal(std::get<std::string>(m_payload));
    case KindReal: return std::get<double>(m_payload);
    case KindColor: return static_cast<double>(std::get<Color>(m_payload).rgb);
    default: return static_cast<double>(integer());
    }
}

bool CellValue::yesNo() const
{
    switch (m_kind) {
    case KindText:
    case KindLongText: return !startsWithNo(std::get<std::string>(m_payload));
    case KindReal: return std::get<double>(m_payload) > 0.0;
    case KindColor: return std::get<Color>(m_payload).rgb != 0;
    case KindYesNo:
    case KindChoice: return integer() != 0;
    case KindNone:
    case KindSpacer: return false;
    default: return integer() > 0;
    }
}

CellValue::Color CellValue::color() const
{
    return m_kind == KindColor ? std::get<Color>(m_payload) : Color{};
}

int CellValue::setInteger(int n)
{
    switch (m_kind) {
    case KindText:
    case KindLongText: m_payload = format("%+d", n); return 1;
    case KindInteger:
    case KindColumnNumber:
    case KindRowNumber: number() = n; return 1;
    case KindReal: m_payload = static_cast<double>(n); return 1;
    case KindYesNo: number() = n > 0 ? 1 : 0; return 1;
    case KindColor: std::get<Color>(m_payload).rgb = static_cast<std::uint32_t>(n); return 1;
    case KindRelativePicture:
    case KindPicture: std::get<Picture>(m_payload).index = n; return 0;
    case KindChoice: std::get<Choice>(m_payload).index = n; return 1;
    default: return 0;
    }
}

int CellValue::setReal(double x)
{
    switch (m_kind) {
    case KindText:
    case KindLongText: m_payload = format("%+g", x); return 1;
    case KindReal: m_payload = x; return 1;
    case KindYesNo: number() = x > 0.0 ? 1 : 0; return 1;
    case KindColor: std::get<Color>(m_payload).rgb = static_cast<std::uint32_t>(truncate(x)); return 1;
    default: return setInteger(truncate(x));
    }
}

int CellValue::setYesNo(bool b)
{
    switch (m_kind) {
    case KindText:
    case KindLongText: m_payload = std::string(b ? "Yes" : "No"); return 1;
    case KindYesNo: number() = b ? 1 : 0; return 1;
    case KindColor: std::get<Color>(m_payload).rgb = b ? kWhite : 0; return 1;
    default: return setInteger(b ? 1 : 0);
    }
}

int CellValue::setColor(const Color& c)
{
    switch (m_kind) {
    case KindText:
    case KindLongText: m_payload = format("%.8X", c.rgb); return 1;
    case KindReal: m_payload = static_cast<double>(c.rgb); return 1;
    case KindYesNo: number() = c.rgb != 0 ? 1 : 0; return 1;
    case KindColor: m_payload = c; return 1;
    case KindChoice: return 0;
    default: return setInteger(static_cast<int>(c.rgb));
    }
}

int CellValue::setFromText(const std::string& t)
{
    switch (m_kind) {
    case KindText:
    case KindLongText: m_payload = t; return 1;
    case KindReal: m_payload = readReal(t); return 1;
    case KindYesNo: number() = startsWithNo(t) ? 0 : 1; return 1;
    case KindColor: std::get<Color>(m_payload).rgb = static_cast<std::uint32_t>(readInteger(t)); return 1;
    case KindRelativePicture:
    case KindPicture: std::get<Picture>(m_payload).index = readInteger(t); return 1;
    case KindChoice: {
        Choice& c = std::get<Choice>(m_payload);
        if (!c.list)
            return 0;
        for (std::size_t i = 0; i < c.list->size(); ++i)
            if ((*c.list)[i] == t) {
                c.index = static_cast<int>(i);
                return 1;
            }
        return 0;
    }
    case KindNone:
    case KindSpacer: return 0;
    default: return setInteger(readInteger(t));
    }
}

bool CellValue::isGreaterThan(const CellValue& other) const
{
    if (isNumeric(m_kind) && isNumeric(other.m_kind))
        return real() > other.real();
    return text() > other.text();
}

int CellValue::applyYesNoKey(const std::string& typed)
{
    if (m_kind != KindYesNo)
        return 0;
    const int before = number();
    if (typed.empty() || typed == " " || typed == "q")
        number() = before ? 0 : 1;
    else
        number() = startsWithNo(typed) ? 0 : 1;
    return number() != before ? 1 : 0;
}

void CellValue::setReference(const CResourceHolder* document, int group)
{
    m_referenceDocument = document;
    m_referenceGroup = group;
}

int CellValue::referenceGroup() const
{
    if (m_kind == KindPicture)
        return std::get<Picture>(m_payload).document ? GroupBitmaps : -1;
    // A text cell refers by ID (a user interface item's image).
    return (m_kind == KindInteger || m_kind == KindText) && m_referenceDocument ? m_referenceGroup : -1;
}

const CResourceHolder* CellValue::referenceDocument() const
{
    if (m_kind == KindPicture)
        return std::get<Picture>(m_payload).document;
    return referenceGroup() >= 0 ? m_referenceDocument : nullptr;
}

int CellValue::referenceIndex() const
{
    if (m_kind == KindPicture)
        return std::get<Picture>(m_payload).index;
    if (m_kind == KindText)
        return m_referenceDocument ? m_referenceDocument->findById(m_referenceGroup, text()) : -1;
    return m_kind == KindInteger ? number() : -1;
}

int CellValue::setReferenceIndex(int index)
{
    if (referenceGroup() < 0)
        return 0;
    if (m_kind == KindPicture)
        return setPicture(std::get<Picture>(m_payload).document, index);
    if (m_kind == KindText) {
        // "None" leaves the cell empty.
        const CResourceItem* item = m_referenceDocument->get(m_referenceGroup, index);
        return setFromText(item ? item->id() : std::string());
    }
    return setInteger(index);
}

std::string CellValue::referenceLabel() const
{
    if (!m_referenceDocument || m_referenceGroup < 0 || (m_kind != KindInteger && m_kind != KindPicture))
        return {};
    const int index = referenceIndex();
    const CResourceItem* item = m_referenceDocument->get(m_referenceGroup, index);
    return item ? CItemFilter::label(index, item->id()) : std::string();
}
