// Unregistration that cannot open the classes key it would clean. Wine grants every right to
// every key, so the registry's refusal comes from a stand-in for the opening of Software\Classes.

#include <gtest/gtest.h>

#include <olectl.h>

#include "com/registration/Registration.h"

namespace popupmenu::com {
namespace {

struct Opening {
    LSTATUS status = ERROR_SUCCESS;  // what the stand-in answers
    HKEY root = nullptr;             // what it was asked for
    bool create = true;
};
Opening g_opening;

LSTATUS openingThatFails(HKEY root, bool create, HKEY* classes) noexcept {
    g_opening.root = root;
    g_opening.create = create;
    *classes = nullptr;
    return g_opening.status;
}

TEST(Unregistration, SucceedsOnlyWhereTheClassesKeyIsAbsent) {
    struct Where {
        const char* what;
        Scope scope;
        HKEY root;
    };
    const Where scopes[] = {{"machine-wide", Scope::Machine, HKEY_LOCAL_MACHINE},
                            {"for the current user", Scope::User, HKEY_CURRENT_USER}};
    struct Case {
        const char* what;
        LSTATUS status;
        HRESULT expected;
    };
    const Case cases[] = {
        {"no classes key: nothing was ever registered", ERROR_FILE_NOT_FOUND, S_OK},
        // A user without administrator rights, with regsvr32 /u: every entry stays.
        {"access denied", ERROR_ACCESS_DENIED, SELFREG_E_CLASS},
        {"any other registry failure", ERROR_NOT_ENOUGH_MEMORY, SELFREG_E_CLASS},
    };
    for (const Where& where : scopes) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << where.what << ", " << c.what);
            g_opening = Opening{c.status};
            EXPECT_EQ(unregisterServer(where.scope, &openingThatFails), c.expected);
            EXPECT_EQ(g_opening.root, where.root);
            EXPECT_FALSE(g_opening.create) << "unregistration made the classes key";
        }
    }
}

}  // namespace
}  // namespace popupmenu::com
