#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

class CResourceHolder;

// The typed value of one grid cell. The same value converts between its
// kind and text, integers, reals, yes/no and colours, so that a value typed,
// pasted or copied from a cell of another kind lands sensibly.
//
// Setters answer 1 when they applied and 0 when they do not apply to the
// kind (the value is then unchanged; picture cells still store the index).
class CellValue {
public:
    enum Kind : int {
        KindNone = 0,
        KindSpacer = 1,
        KindText = 2,
        KindLongText = 3,
        KindInteger = 4,
        KindReal = 5,
        KindYesNo = 6,
        KindColor = 7,
        KindRelativePicture = 8,
        KindPicture = 9,
        KindColumnNumber = 10,
        KindRowNumber = 11,
        KindChoice = 12,
    };
    static constexpr int kKindCount = 13;

    // 0x00BBGGRR and an alpha byte.
    struct Color {
        std::uint32_t rgb = 0;
        int alpha = 255;
        bool operator==(const Color&) const = default;
    };
    struct Picture {
        const CResourceHolder* document = nullptr;
        int index = 0;
        bool operator==(const Picture&) const = default;
    };
    // The list belongs to the grid's editor, not to the value.
    using ChoiceList = std::vector<std::string>;
    struct Choice {
        const ChoiceList* list = nullptr;
        int index = 0;
        bool operator==(const Choice&) const = default;
    };

    // The document fresh picture values refer to (the application's).
    static void setApplicationDocument(const CResourceHolder* document);
    static const CResourceHolder* applicationDocument();

    CellValue() = default;
    explicit CellValue(int kind) { setKind(kind); }
    virtual ~CellValue() = default;
    CellValue(const CellValue&) = default;
    CellValue& operator=(const CellValue&) = default;

    // --- pictures (kinds 8 and 9) and choices (kind 12) ------------------
    virtual int setPicture(const CResourceHolder* document, int index);
    // {nullptr, -1} for other kinds.
    virtual Picture picture() const;
    virtual int setChoice(const ChoiceList* list, int index);
    // {nullptr, -1} for other kinds.
    virtual Choice choice() const;

    // --- references -------------------------------------------------------
    // An integer that names an item of `group` in `document` shows as
    // "index - ID" and is picked by name; a picture cell names a bitmap of its
    // own document. The value stays the index: sorting, copying and typing
    // work on the number. A text that names an item by its ID is picked the
    // same way; its value stays the ID (the index of the first item with it).
    void setReference(const CResourceHolder* document, int group);
    // The group a reference cell names, or -1 for any other cell.
    int referenceGroup() const;
    const CResourceHolder* referenceDocument() const;
    // The index the reference holds (the picture's for picture cells).
    int referenceIndex() const;
    int setReferenceIndex(int index);
    // "index - ID" of a cell told its reference, when the item exists; empty
    // otherwise (picture cells of their own row show only the picture).
    std::string referenceLabel() const;

    void setEditable(bool editable) { m_editable = editable; }
    bool isEditable() const { return m_editable; }

    // The text the grid shows. Column and row numbers (kinds 10 and 11) are
    // the value added to the cell's column or row, plain ("%d") when the
    // grid asks for plain numbers, signed ("%+d") otherwise.
    virtual std::string displayText(int column, int row, bool plainNumbers = false) const;

    virtual bool yesNo() const;
    virtual int setYesNo(bool value);
    // The colour of kind 7; opaque black for other kinds.
    virtual Color color() const;
    virtual int setColor(const Color& value);

    int spare() const { return m_spare; }
    void setSpare(int value) { m_spare = value; }

    virtual double real() const;
    virtual int integer() const;
    virtual int setReal(double value);
    virtual int setInteger(int value);

    // A new kind discards the payload for a fresh one; the same kind keeps
    // it. Kinds outside 0..12 are refused (answer 0).
    int setKind(int kind);
    int kind() const { return m_kind; }

    // A kind and its value in one call, as the grids fill their cells.
    void assignText(const std::string& text, int kind = KindText)
    {
        setKind(kind);
        setFromText(text);
    }
    void assignInteger(int value)
    {
        setKind(KindInteger);
        setInteger(value);
    }
    void assignReal(double value)
    {
        setKind(KindReal);
        setReal(value);
    }
    void assignYesNo(bool value)
    {
        setKind(KindYesNo);
        setYesNo(value);
    }
    void assignChoice(const ChoiceList* list, int index)
    {
        setKind(KindChoice);
        setChoice(list, index);
    }

    virtual int setFromText(const std::string& text);
    // The value as text: the display text, column and row numbers as their
    // own signed value.
    virtual std::string text() const;

    // The sort order of the grid: numbers (kinds 4, 5, 6, 7, 9, 12) compare
    // as reals when both sides are numbers, everything else as texts.
    virtual bool isGreaterThan(const CellValue& other) const;
    // Whether values of the kind sort as numbers.
    static bool isNumeric(int kind);

    // What a key typed on a yes/no cell does: "", " " and "q" toggle, "N"
    // and "n" say No, anything else Yes. 1 when the value changed.
    int applyYesNoKey(const std::string& typed);

    // The leniently read numbers of texts: leading blanks, a sign, digits;
    // no number reads as 0. Integers saturate at the 32-bit limits.
    static int readInteger(const std::string& text);
    static double readReal(const std::string& text);
    // Truncation toward zero, saturating (NaN reads as 0).
    static int truncate(double value);

private:
    using Payload = std::variant<int, std::string, double, Color, Picture, Choice>;
    static Payload freshPayload(int kind);
    static std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

    int& number() { return std::get<int>(m_payload); }
    int number() const { return std::get<int>(m_payload); }

    int m_spare = 0;
    bool m_editable = false;
    const CResourceHolder* m_referenceDocument = nullptr;
    int m_referenceGroup = -1;
    Payload m_payload = 0;
    int m_kind = KindNone;
};
