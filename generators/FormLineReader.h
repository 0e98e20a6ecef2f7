#pragma once

#include "generators/PlantForm.h"

#include <QString>
#include <QStringList>
#include <optional>

// Reads the twenty columns of one line of a form file into a PlantForm,
// word by word against the written vocabulary. Every column is read even
// after a fault, so one pass names all the faults of a line.
class FormLineReader {
public:
    static constexpr int kColumns = 20;
    static const QStringList& columnNames();  // NAMAE 属 草姿 ... 見分け

    struct Result {
        PlantForm form;
        QStringList faults;  // "column: reason"
    };

    // `columns` must hold kColumns texts.
    static Result read(const QStringList& columns);

    // "10-30", "5" or "0.5-1.5"; nothing when malformed or min > max.
    static std::optional<Range> range(const QString& text);

private:
    explicit FormLineReader(const QStringList& columns);

    QString column(int i) const { return columns_[i]; }
    QStringList words(int i) const;
    void fault(int i, const QString& why);
    void badWord(int i, const QString& word);

    void readHabit();
    void readSizes();
    void readStem();
    void readPhyllotaxis();
    void readBasal();
    void readLeafShape();
    void readMargins();
    void readDivision();
    void readLeafBases();
    void readInflorescence();
    void readFlower();
    void checkFlowerParts(int symmetries, int forms, int counts);
    void readColours();
    void readMarkings();
    void readFruit();
    void readGenusAndDistinction();

    const QStringList& columns_;
    Result result_;
};
