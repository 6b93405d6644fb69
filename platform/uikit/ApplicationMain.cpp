#include "uikit/ApplicationMain.h"

#include "foundation/RunLoop.h"
#include "uikit/Application.h"
#include "uikit/Window.h"

namespace uikit {

int applicationMain(int, char**, const ApplicationDelegateFactory& delegateFactory,
                    const MainInterfaceBuilder& mainInterface) {
    auto& application = Application::shared();
    auto& loop = foundation::RunLoop::main();
    loop.adoptCurrentThread();
    application.setDelegate(delegateFactory ? delegateFactory() : nullptr);
    auto window = std::make_shared<Window>();
    if (auto delegate = application.delegate())
        delegate->setWindow(window);
    if (mainInterface)
        window->setRootViewController(mainInterface());
    application.finishLaunching();
    window->makeKeyAndVisible();
    application.becomeActive();
    loop.run();
    application.terminate();
    return 0;
}

}  // namespace uikit
