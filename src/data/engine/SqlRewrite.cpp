#include "data/engine/SqlRewrite.h"

#include <QList>
#include <QSet>
#include <QStringView>

namespace SqlRewrite {

namespace {

// A piece of the statement. Quoted text, comments and parameter names are Opaque; a Word is a
// run of identifier characters; everything else is one Symbol character.
struct Token {
    enum Kind { Word, Space, Symbol, Opaque } kind;
    QStringView text;
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#';
}

// The end of a quoted text that starts at `start` (a doubled quote stays inside).
qsizetype quotedEnd(QStringView sql, qsizetype start)
{
    const QChar quote = sql[start];
    qsizetype i = start + 1;
    while (i < sql.size()) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

QList<Token> tokenize(QStringView sql)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        qsizetype end = i + 1;
        Token::Kind kind = Token::Symbol;
        if (c == u'\'' || c == u'"') {
            end = quotedEnd(sql, i);
            kind = Token::Opaque;
        } else if (c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-') {
            end = sql.indexOf(u'\n', i);
            end = end < 0 ? sql.size() : end;
            kind = Token::Opaque;
        } else if (c == u'/' && i + 1 < sql.size() && sql[i + 1] == u'*') {
            end = sql.indexOf(u"*/", i + 2);
            end = end < 0 ? sql.size() : end + 2;
            kind = Token::Opaque;
        } else if (c == u':' && i + 1 < sql.size() && isWordChar(sql[i + 1])) {
            while (end < sql.size() && isWordChar(sql[end]))
                ++end;
            kind = Token::Opaque;
        } else if (isWordChar(c)) {
            while (end < sql.size() && isWordChar(sql[end]))
                ++end;
            kind = Token::Word;
        } else if (c.isSpace()) {
            while (end < sql.size() && sql[end].isSpace())
                ++end;
            kind = Token::Space;
        }
        tokens.append({kind, sql.sliced(i, end - i)});
        i = end;
    }
    return tokens;
}

enum class Target { Sqlite, Postgres };

class Rewriter {
public:
    Rewriter(QStringView sql, Target target) : tokens_(tokenize(sql)), target_(target)
    {
        out_.reserve(sql.size() + 32);
    }

    QString run()
    {
        while (pos_ < tokens_.size()) {
            if (tokens_[pos_].kind == Token::Word) {
                rewriteName();
            } else if (target_ == Target::Postgres && typesNullTest()) {
                continue;
            } else {
                if (truncCloses_.contains(pos_))
                    out_ += QStringLiteral(", 0");
                out_ += tokens_[pos_++].text;
            }
        }
        return out_;
    }

private:
    bool isWord(qsizetype i, QStringView word) const
    {
        return i < tokens_.size() && tokens_[i].kind == Token::Word
            && tokens_[i].text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(qsizetype i, QChar c) const
    {
        return i >= 0 && i < tokens_.size() && tokens_[i].kind == Token::Symbol && tokens_[i].text[0] == c;
    }
    qsizetype skipSpace(qsizetype i) const
    {
        return i < tokens_.size() && tokens_[i].kind == Token::Space ? i + 1 : i;
    }
    bool isSpace(qsizetype i) const { return i < tokens_.size() && tokens_[i].kind == Token::Space; }
    bool isParameter(qsizetype i) const
    {
        return i < tokens_.size() && tokens_[i].kind == Token::Opaque && tokens_[i].text.startsWith(u':');
    }

    // ":X IS [NOT] NULL": nothing around the parameter tells the server its type, so it gets
    // one. Any value is null exactly when its text is.
    bool typesNullTest()
    {
        const qsizetype i = pos_;
        if (!isParameter(i))
            return false;
        const qsizetype is = skipSpace(i + 1);
        if (!isWord(is, u"IS") || !isSpace(is + 1))
            return false;
        qsizetype null = is + 2;
        if (isWord(null, u"NOT") && isSpace(null + 1))
            null += 2;
        if (!isWord(null, u"NULL"))
            return false;
        out_ += QStringLiteral("CAST(");
        out_ += tokens_[i].text;
        out_ += QStringLiteral(" AS text)");
        pos_ = i + 1;
        return true;
    }

    void emitNextval(QStringView sequence)
    {
        out_ += target_ == Target::Sqlite ? QStringLiteral("ztfi_nextval('") : QStringLiteral("nextval('");
        out_ += sequence;
        out_ += QStringLiteral("')");
    }

    // A name, possibly qualified (a.b.c): only unqualified keywords are rewritten, and a
    // qualified name ending in NEXTVAL is a sequence.
    void rewriteName()
    {
        qsizetype end = pos_ + 1;
        while (isSymbol(end, u'.') && end + 1 < tokens_.size() && tokens_[end + 1].kind == Token::Word)
            end += 2;
        const qsizetype parts = (end - pos_ + 1) / 2;
        if (parts >= 2 && isWord(end - 1, u"NEXTVAL")) {
            emitNextval(tokens_[end - 3].text);
            pos_ = end;
            return;
        }
        if (parts == 1 && rewriteKeyword())
            return;
        for (; pos_ < end; ++pos_)
            out_ += tokens_[pos_].text;
    }

    bool rewriteKeyword()
    {
        const qsizetype i = pos_;
        if (isSymbol(i - 1, u'.'))  // a column of a quoted table name
            return false;
        if (isWord(i, u"NEXTVAL") && isSpace(i + 1) && isWord(i + 2, u"FOR") && isSpace(i + 3)
            && i + 4 < tokens_.size() && tokens_[i + 4].kind == Token::Word) {
            // NEXTVAL FOR [schema.]sequence
            qsizetype name = i + 4;
            while (isSymbol(name + 1, u'.') && name + 2 < tokens_.size()
                   && tokens_[name + 2].kind == Token::Word)
                name += 2;
            emitNextval(tokens_[name].text);
            pos_ = name + 1;
            return true;
        }
        if (target_ == Target::Postgres)
            return rewritePostgresKeyword();
        if (isWord(i, u"EXTRACT")) {
            // EXTRACT(Year FROM x) -> YEAR(x): only the opening changes.
            const qsizetype open = skipSpace(i + 1);
            const qsizetype year = skipSpace(open + 1);
            if (isSymbol(open, u'(') && isWord(year, u"YEAR") && isSpace(year + 1)
                && isWord(year + 2, u"FROM")) {
                out_ += QStringLiteral("YEAR(");
                pos_ = skipSpace(year + 3);
                return true;
            }
            return false;
        }
        if (isWord(i, u"CURRENT_DATE")) {
            out_ += QStringLiteral("ztfi_current_date()");
            pos_ = i + 1;
            return true;
        }
        if (isWord(i, u"CURRENT") && isSpace(i + 1) && isWord(i + 2, u"DATE")) {
            out_ += QStringLiteral("ztfi_current_day()");
            pos_ = i + 3;
            return true;
        }
        return false;
    }

    // The index of the ')' that closes the '(' at `open`, and whether a ',' lies between them
    // outside inner parentheses; tokens_.size() when it is not closed.
    qsizetype closingParen(qsizetype open, bool* hasComma) const
    {
        int depth = 0;
        for (qsizetype i = open; i < tokens_.size(); ++i) {
            if (isSymbol(i, u'('))
                ++depth;
            else if (isSymbol(i, u')') && --depth == 0)
                return i;
            else if (depth == 1 && isSymbol(i, u','))
                *hasComma = true;
        }
        return tokens_.size();
    }

    bool rewritePostgresKeyword()
    {
        const qsizetype i = pos_;
        if (isWord(i, u"CURRENT_DATE")) {
            out_ += QStringLiteral("LOCALTIMESTAMP(0)");
            pos_ = i + 1;
            return true;
        }
        const qsizetype open = skipSpace(i + 1);
        if (!isSymbol(open, u'('))
            return false;
        if (isWord(i, u"NVL")) {
            out_ += QStringLiteral("COALESCE");
            pos_ = i + 1;
            return true;
        }
        if (isWord(i, u"mod")) {
            // mod(trunc(x), n): the one-argument trunc gives a double, for which there is no
            // mod; trunc(x, 0) gives a numeric.
            const qsizetype trunc = skipSpace(open + 1);
            const qsizetype truncOpen = skipSpace(trunc + 1);
            bool hasComma = false;
            if (!isWord(trunc, u"trunc") || !isSymbol(truncOpen, u'('))
                return false;
            const qsizetype close = closingParen(truncOpen, &hasComma);
            if (hasComma || close >= tokens_.size())
                return false;
            truncCloses_.insert(close);
            out_ += tokens_[pos_++].text;
            return true;
        }
        return false;
    }

    QList<Token> tokens_;
    Target target_;
    QSet<qsizetype> truncCloses_;  // the ')' of a trunc(x) that gets its second argument
    qsizetype pos_ = 0;
    QString out_;
};

}  // namespace

QString forSqlite(const QString& sql)
{
    if (!sql.contains(QLatin1String("NEXTVAL"), Qt::CaseInsensitive)
        && !sql.contains(QLatin1String("EXTRACT"), Qt::CaseInsensitive)
        && !sql.contains(QLatin1String("CURRENT"), Qt::CaseInsensitive))
        return sql;
    return Rewriter(sql, Target::Sqlite).run();
}

QString forPostgres(const QString& sql)
{
    if (!sql.contains(QLatin1String("NEXTVAL"), Qt::CaseInsensitive)
        && !sql.contains(QLatin1String("CURRENT_DATE"), Qt::CaseInsensitive)
        && !sql.contains(QLatin1String("NVL"), Qt::CaseInsensitive)
        && !sql.contains(QLatin1String("trunc"), Qt::CaseInsensitive)
        && !sql.contains(QLatin1String("NULL"), Qt::CaseInsensitive))
        return sql;
    return Rewriter(sql, Target::Postgres).run();
}

}  // namespace SqlRewrite
