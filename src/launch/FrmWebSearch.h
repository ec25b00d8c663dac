#pragma once

#include <QList>
#include <QWidget>
#include <functional>

class Launcher;
class QCheckBox;
class QLineEdit;

// What the web search window needs from the program.
struct WebSearchParts
{
    Launcher *launcher = nullptr;
    // The location file in use (full path).
    QString locationFile;
    // The option "SearchEngine": the box ticked on opening, and the last one ticked.
    int *searchEngine = nullptr;
    // After a search: the character reads the next line of "SearchWeb.txt". May be empty.
    std::function<void()> afterSearch;
};

// Sends one query to every ticked search engine, one browser page each.
class FrmWebSearch final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmWebSearch)

public:
    explicit FrmWebSearch(WebSearchParts parts, QWidget *parent = nullptr);
    ~FrmWebSearch() override;

    void StartSearch();
    void cmdSearch();

private:
    WebSearchParts m_parts;
    QList<QCheckBox *> m_engines;
    QLineEdit *m_query;
};
