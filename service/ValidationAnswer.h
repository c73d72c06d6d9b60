#pragma once

#include <QString>

// How the credential check reads a completed page. On the validation page the status code is the
// first run of ASCII digits followed by "=" anywhere in the text, and only "0=" accepts the
// account. Any other page accepts it when it carries "10=Hostname"; otherwise nothing can be told
// from it (an error page, a portal), which is neither an acceptance nor a refusal.
// An empty text (the blank page) is the caller's to ignore before asking.
class ValidationAnswer
{
public:
    enum class Verdict { Valid, Invalid, Undetermined };

    static Verdict classify(const QString& url, const QString& text);
    // Valid only; Invalid and Undetermined both read as false.
    static bool isValid(const QString& url, const QString& text);

    // The service's own refusal, the only one an unattended program may stop for: the validation
    // page itself, told by its path (a sign-in page's address may carry the original one in its
    // query), with a status code other than 0. A page with no code at all is no refusal.
    static bool isRefusal(const QString& url, const QString& text);

    // The document is the validation page itself (plain, case-sensitive substring test).
    static bool isValidationPage(const QString& url);
    // The first match of "[0-9]+=" in the text, e.g. "10="; empty when there is none.
    static QString statusCode(const QString& text);
};
