#pragma once

#include "Preferences.h"
#include "document/TextDocument.h"
#include "editing/TextRange.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorView.h"

#include <memory>

#include <QApplication>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace plumeo::test {

// A document read from UTF-8 bytes as plain text.
inline std::unique_ptr<TextDocument> plainDocument(const QString &text)
{
    auto document = std::make_unique<TextDocument>();
    EXPECT_TRUE(document->read(text.toUtf8(), TextDocument::plainTextType()).hasValue());
    return document;
}

inline MenuItemInfo item(const QString &action, int tag = 0)
{
    MenuItemInfo info;
    info.action = action;
    info.tag = tag;
    return info;
}

inline MenuItemState validated(const EditorView &view, const QString &action, int tag = 0)
{
    MenuItemState state;
    view.validate(item(action, tag), state);
    return state;
}

// Performs an action as the dispatcher does: only when the view handles it and it is enabled.
inline bool perform(EditorView &view, const QString &action, int tag = 0)
{
    if (!view.handles(item(action, tag)) || !validated(view, action, tag).enabled)
        return false;
    view.perform(item(action, tag));
    return true;
}

inline void select(EditorView &view, TextRange range)
{
    EditorCommandRunner(view).select(range);
}

inline TextRange selection(const EditorView &view)
{
    const QTextCursor cursor = view.textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

// The interface in English for the length of a test.
class EnglishInterface
{
public:
    EnglishInterface();
    ~EnglishInterface();
};

} // namespace plumeo::test
