<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CQelMenu</name>
    <message>
        <source>Botão Esquerdo</source>
        <translation>Left Button</translation>
    </message>
    <message>
        <source>Para baixo</source>
        <translation>Press button</translation>
    </message>
    <message>
        <source>Para cima</source>
        <translation>Release button</translation>
    </message>
    <message>
        <source>Botão Direito</source>
        <translation>Right Button</translation>
    </message>
    <message>
        <source>Botão do Meio</source>
        <translation>Middle Button</translation>
    </message>
    <message>
        <source>Modificar Delay</source>
        <translation>Change Delay</translation>
    </message>
    <message>
        <source>Apagar item</source>
        <translation>Delete Item</translation>
    </message>
    <message>
        <source>Mostrar a Janela UI</source>
        <translation>Show Main Window</translation>
    </message>
    <message>
        <source>Sair do Driver</source>
        <translation>Quit Driver</translation>
    </message>
    <message>
        <source>Profiles for programs</source>
        <translation>Profiles for programs</translation>
    </message>
    <message>
        <source>Stop macros</source>
        <translation>Stop macros</translation>
    </message>
</context>
<context>
    <name>CoreMessages</name>
    <message>
        <source>取色键无效,请设置为其他键</source>
        <translation>Color Picker cannot be used here; please choose another function.</translation>
    </message>
    <message>
        <source>Could not save the settings to %1.
The file or its folder cannot be written; the previous settings are kept.</source>
        <translation>Could not save the settings to %1.
The file or its folder cannot be written; the previous settings are kept.</translation>
    </message>
</context>
<context>
    <name>MacroListEditor</name>
    <message>
        <source>A pause is 0 to 65535 milliseconds.</source>
        <translation>A pause is 0 to 65535 milliseconds.</translation>
    </message>
</context>
<context>
    <name>MacroListSave</name>
    <message>
        <source>The macros could not be saved to %1.</source>
        <translation>The macros could not be saved to %1.</translation>
    </message>
</context>
<context>
    <name>MacroRepeatControl</name>
    <message>
        <source>Once</source>
        <translation>Once</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>%1 times</source>
        <translation>%1 times</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Repeat</translation>
    </message>
</context>
<context>
    <name>MainWindowInput</name>
    <message>
        <source>The settings could not be saved to %1.</source>
        <translation>The settings could not be saved to %1.</translation>
    </message>
    <message>
        <source>Recording &quot;%1&quot;: press Stop to end.</source>
        <translation>Recording &quot;%1&quot;: press Stop to end.</translation>
    </message>
    <message>
        <source>Twelve macros at most: delete one first.</source>
        <translation>Twelve macros at most: delete one first.</translation>
    </message>
    <message>
        <source>Buttons changed with the macro: %1.</source>
        <translation>Buttons changed with the macro: %1.</translation>
    </message>
    <message>
        <source>Choose the macro to record into first.</source>
        <translation>Choose the macro to record into first.</translation>
    </message>
</context>
<context>
    <name>PageRenderer</name>
    <message>
        <source>Driver esta ok funcionando.</source>
        <translation>The driver is working.</translation>
    </message>
    <message>
        <source>Pressione a tecla( %1 ) após o driver estar ok.</source>
        <translation>Press mouse button %1 once to activate.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>O mouse não respondeu.</source>
        <translation>The mouse did not answer.</translation>
    </message>
</context>
<context>
    <name>SkinReader</name>
    <message>
        <source>找不到配置文件</source>
        <translation>Configuration file not found.</translation>
    </message>
    <message>
        <source>加载ini错误！</source>
        <translation>Error in a skin layout file.</translation>
    </message>
</context>
<context>
    <name>veldran::CAboutDlg</name>
    <message>
        <source>About QEL_GMouse</source>
        <translation>About QEL_GMouse</translation>
    </message>
    <message>
        <source>QEL_GMouse Version 1.0</source>
        <translation>QEL_GMouse Version 1.0</translation>
    </message>
</context>
<context>
    <name>veldran::CQEL_GMouseDlg</name>
    <message>
        <source>Insert【ZEV】USB Mouse</source>
        <translation>Please plug in the ZEV USB mouse.</translation>
    </message>
</context>
<context>
    <name>veldran::FocusSourceLine</name>
    <message>
        <source>Enable the extension</source>
        <translation>Enable the extension</translation>
    </message>
    <message>
        <source>The window in front is followed through X11 (_NET_ACTIVE_WINDOW).</source>
        <translation>The window in front is followed through X11 (_NET_ACTIVE_WINDOW).</translation>
    </message>
    <message>
        <source>The window in front is followed through the compositor&apos;s window list (wlroots).</source>
        <translation>The window in front is followed through the compositor&apos;s window list (wlroots).</translation>
    </message>
    <message>
        <source>The window in front is followed through the driver&apos;s KWin script.</source>
        <translation>The window in front is followed through the driver&apos;s KWin script.</translation>
    </message>
    <message>
        <source>GNOME Shell tells the window in front only through the driver&apos;s extension, which is not enabled: enable it to switch profiles.</source>
        <translation>GNOME Shell tells the window in front only through the driver&apos;s extension, which is not enabled: enable it to switch profiles.</translation>
    </message>
    <message>
        <source>The window in front is followed through the driver&apos;s GNOME Shell extension.</source>
        <translation>The window in front is followed through the driver&apos;s GNOME Shell extension.</translation>
    </message>
    <message>
        <source>Nothing tells the driver which window is in front, so programs do not switch profiles: start the driver in the desktop session (X11, KDE Plasma, GNOME or a wlroots compositor such as sway).</source>
        <translation>Nothing tells the driver which window is in front, so programs do not switch profiles: start the driver in the desktop session (X11, KDE Plasma, GNOME or a wlroots compositor such as sway).</translation>
    </message>
    <message>
        <source>GNOME Shell did not enable the extension %1: is the driver&apos;s package installed for this user&apos;s Shell?</source>
        <translation>GNOME Shell did not enable the extension %1: is the driver&apos;s package installed for this user&apos;s Shell?</translation>
    </message>
</context>
<context>
    <name>veldran::ProfileNotifier</name>
    <message>
        <source>Profile %1</source>
        <translation>Profile %1</translation>
    </message>
</context>
<context>
    <name>veldran::ProgramRulesDialog</name>
    <message>
        <source>Profiles for programs</source>
        <translation>Profiles for programs</translation>
    </message>
    <message>
        <source>Switch the profile with the program in front</source>
        <translation>Switch the profile with the program in front</translation>
    </message>
    <message>
        <source>Tell me when the profile changes while the window is hidden</source>
        <translation>Tell me when the profile changes while the window is hidden</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Program or window class</source>
        <translation>Program or window class</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Click a window</source>
        <translation>Click a window</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>The rules could not be written to %1.</source>
        <translation>The rules could not be written to %1.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot name a program: a name is one line without &apos;=&apos; and does not begin with &apos;[&apos; or &apos;;&apos;.</source>
        <translation>&quot;%1&quot; cannot name a program: a name is one line without &apos;=&apos; and does not begin with &apos;[&apos; or &apos;;&apos;.</translation>
    </message>
</context>
<context>
    <name>veldran::WindowMenu</name>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>Mi&amp;nimize</translation>
    </message>
    <message>
        <source>&amp;Close	Alt+F4</source>
        <translation>&amp;Close	Alt+F4</translation>
    </message>
    <message>
        <source>&amp;About QEL_GMouse...</source>
        <translation>&amp;About QEL_GMouse...</translation>
    </message>
</context>
</TS>
