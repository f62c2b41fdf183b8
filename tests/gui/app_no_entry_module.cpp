// A loadable module that is not a grid control: it exports no DllRegisterServer.
extern "C" int KorvelTestModuleMarker()
{
    return 42;
}
