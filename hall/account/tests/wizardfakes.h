#pragma once
// Fakes for the wizards: a scripted web service and a sink that records what the player saw.
#include "hall/account/accountwizard.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <functional>

namespace velmora::hall::test {

struct FakeService {
    QStringList replies;  // taken in order; empty when used up
    QList<QPair<QString, QString>> requests;  // url, form data
    std::function<void()> during;  // runs inside the request, as the anti-freeze would allow

    AccountHttp http() {
        return [this](const QString& url, const QString& form) {
            requests.append({url, form});
            if (during)
                during();
            return replies.isEmpty() ? QString() : replies.takeFirst();
        };
    }
};

struct FakeSink : WizardSink {
    QStringList messages;
    QList<MessageIcon> icons;
    QStringList questions;
    QList<int> focus;
    bool answerOk = true;

    void showMessage(const QString& text, MessageIcon icon) override {
        messages.append(text);
        icons.append(icon);
    }
    bool confirmOkCancel(const QString& text) override {
        questions.append(text);
        return answerOk;
    }
    void focusField(int field) override { focus.append(field); }
    QString last() const { return messages.isEmpty() ? QString() : messages.last(); }
};

// The decoded value of a field of a request body.
QString FieldOf(const QString& body, const QString& name);

}  // namespace velmora::hall::test
