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

inline MenuItemState validated(const EditorView &view, Command command)
{
    MenuItemState state;
    view.validate(MenuItemInfo{command}, state);
    return state;
}

// Performs an action as the dispatcher does: only when the view handles it and it is enabled.
inline bool perform(EditorView &view, Command command)
{
    if (!view.handles(command) || !validated(view, command).enabled)
        return false;
    view.perform(MenuItemInfo{command});
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
