// The plug-in library. Its instances are made by the class registered with the instance registry;
// until the engine registers its own, that is the module base.
