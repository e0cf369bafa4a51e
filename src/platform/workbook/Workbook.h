#pragma once
// The Excel 97 workbook reader (read only). A workbook lists its sheets; a
// sheet is read whole into memory: its first row gives the column names, the
// rows below it are the data rows. Every failure (missing file, a file that
// is no workbook, a damaged workbook, a missing sheet or column) is a
// kal::Exception with a Polish message.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <memory>
#include <optional>
#include <vector>

namespace kal {

enum class CellType { Null, Integer, Float, Text, Date, DateTime, Time };

// One cell of a sheet.
class Cell {
public:
    Cell() = default;
    static Cell integer(qint64 value);
    static Cell number(double value, bool date1904 = false);
    static Cell text(const QString& value);
    static Cell date(const QDate& value);
    static Cell dateTime(const QDateTime& value);
    static Cell time(const QTime& value);

    CellType type() const { return m_type; }
    bool isNull() const { return m_type == CellType::Null; }

    // The cell as text: whole numbers in digits, other numbers with full
    // precision and the decimal comma ("45,5"), dates "yyyy-mm-dd", date-times
    // "yyyy-mm-dd hh:mm:ss" (the date alone at midnight), times "hh:mm:ss";
    // an empty cell gives "".
    QString toText() const;
    // A number; a text cell is read with blanks dropped and "," or "." as the
    // decimal separator. nullopt for anything else.
    std::optional<double> toFloat() const;
    // A whole number: an integer cell, a float cell without fraction, or a
    // text of digits (blanks dropped). nullopt for anything else.
    std::optional<qint64> toInteger() const;
    // A date: a date or date-time cell; a number taken as the sheet's serial
    // day number; a text "yyyy-mm-dd" (with an optional time). nullopt else.
    std::optional<QDate> toDate() const;
    // As toDate, keeping the time of day (midnight for a plain date).
    std::optional<QDateTime> toDateTime() const;

private:
    CellType m_type = CellType::Null;
    double m_number = 0.0;
    bool m_date1904 = false;
    QString m_text;
    QDate m_date;
    QTime m_time;
};

// Converts an Excel serial day number to a date and time. In the 1900 system
// day 1 is 1900-01-01 and day 60 is the fictitious 1900-02-29, which gives
// nullopt; in the 1904 system day 0 is 1904-01-01. Negative and absurdly large
// serials give nullopt.
std::optional<QDateTime> SerialToDateTime(double serial, bool date1904);

class Sheet {
public:
    Sheet() = default;
    // A sheet read whole.
    Sheet(QString name, QStringList columns, std::vector<std::vector<Cell>> rows);
    // A sheet that declares `declaredRows` data rows; with `firstDamagedRow`
    // (0 = the row below the header) it was not read whole from that row on.
    Sheet(QString name, QStringList columns, std::vector<std::vector<Cell>> rows, int declaredRows,
          std::optional<int> firstDamagedRow);

    const QString& name() const { return m_name; }
    // The column names: the texts of the first row. An empty header cell is
    // named "F" + its column number (1-based), as the usual Excel drivers do.
    const QStringList& columnNames() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    // Data rows below the header; trailing empty rows are not counted.
    int rowCount() const { return int(m_rows.size()); }
    // The index of a column by name, -1 when there is none. Case and the
    // blanks a name ends in do not count ("Ilość litrów " is "ILOŚĆ LITRÓW"),
    // as stored texts compare.
    int columnIndex(const QString& name) const;
    bool hasColumn(const QString& name) const { return columnIndex(name) >= 0; }
    // A cell of a data row (0 = the row below the header); outside the
    // sheet an empty cell.
    const Cell& cell(int row, int column) const;
    // A cell by column name; a kal::Exception when the sheet has no such column.
    const Cell& cell(int row, const QString& column) const;

    // Whether every row the sheet declares (its dimensions, its row records)
    // and every cell each of its rows declares was read. A damaged record
    // makes the reader lose its place, and the rest of the sheet (or some
    // cells of it) goes missing; a file cut short loses its end.
    bool isWhole() const { return m_whole; }
    // The data rows the sheet declares (at least rowCount()).
    int declaredRowCount() const { return m_declaredRows; }
    // The data rows read whole, counted from the first: rowCount() for a
    // whole sheet, fewer for a damaged one.
    int wholeRowCount() const { return m_wholeRows; }

private:
    QString m_name;
    QStringList m_columns;
    std::vector<std::vector<Cell>> m_rows;
    bool m_whole = true;
    int m_declaredRows = 0;
    int m_wholeRows = 0;
};

// The workbook is read whole when it is opened. The parsing runs in a child
// process, so that a damaged or crafted file that upsets the parser cannot
// take the program down: it is reported as a damaged workbook instead. A
// damaged file that the parser reads only in part gives sheets that are not
// whole (Sheet::isWhole); the caller decides what to do with them.
// A text cell of length 0 (written by some programs other than Excel, in the
// shared string table or inline) reads as an empty cell.
class Workbook {
public:
    // Opens and reads the workbook at `path`; throws kal::Exception when it
    // cannot.
    explicit Workbook(const QString& path);

    const QString& path() const { return m_path; }
    QStringList sheetNames() const;
    // A sheet addressed by name, case-insensitive; a trailing "$" (the way a
    // sheet is named as a table, "EXP_ZESTAW$") is allowed.
    bool hasSheet(const QString& name) const { return sheetIndex(name) >= 0; }
    int sheetIndex(const QString& name) const;
    // A sheet; throws kal::Exception when there is no such sheet.
    const Sheet& sheet(const QString& name) const;
    const Sheet& sheet(int index) const;

private:
    QString m_path;
    std::vector<Sheet> m_sheets;
};

} // namespace kal
