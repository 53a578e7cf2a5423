// The station program: takes nothing from its command line, reads and writes nothing; it
// runs its one window until that window closes.
#include "app/Unit1.h"
#include "framework/Application.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    application.SetTitle(ApplicationTitle);
    auto* form = new TForm1(&application); // owned, and freed, by the application
    form->Show();
    application.Run();
    return 0;
}
