// The one camera of the game.
#pragma once

class Camara {
public:
    // The first call creates the camera; later calls ignore their arguments.
    static Camara* getInstance(float ojoX, float ojoY, float ojoZ,
                               float centroX, float centroY, float centroZ,
                               float arribaX, float arribaY, float arribaZ, bool ortho);

    float getOjoX() const { return ojoX; }
    float getOjoY() const { return ojoY; }
    float getOjoZ() const { return ojoZ; }
    void setOjoX(float v) { ojoX = v; }
    void setOjoY(float v) { ojoY = v; }
    void setOjoZ(float v) { ojoZ = v; }
    float getCentroX() const { return centroX; }
    float getCentroY() const { return centroY; }
    float getCentroZ() const { return centroZ; }
    void setCentroX(float v) { centroX = v; }
    void setCentroY(float v) { centroY = v; }
    void setCentroZ(float v) { centroZ = v; }
    float getArribaX() const { return arribaX; }
    float getArribaY() const { return arribaY; }
    float getArribaZ() const { return arribaZ; }
    void setArribaX(float v) { arribaX = v; }
    void setArribaY(float v) { arribaY = v; }
    void setArribaZ(float v) { arribaZ = v; }
    bool getOrtho() const { return ortho; }
    void setOrtho(bool v) { ortho = v; }

    // Step of an animated eye move: (target − eye) / n on that axis.
    void setPasoX(float destino, int n);
    void setPasoY(float destino, int n);
    void setPasoZ(float destino, int n);
    float getPasoX() const { return pasoX; }
    float getPasoY() const { return pasoY; }
    float getPasoZ() const { return pasoZ; }

    // Distance of the far clipping plane, 140 unless the game moves it.
    float getLejos() const { return lejos; }
    void setLejos(float v) { lejos = v; }

    // Loads the projection for a window of this size and the view.
    void aplicar(int height, int width);
    // One step of the sideways sway.
    void balancear();
    int getContadorBalanceo() const { return contadorBalanceo; }
    int getSentidoBalanceo() const { return sentidoBalanceo; }
    // A new game: the eye back at this point, the sway from its beginning.
    void reiniciar(float ojoX, float ojoY, float ojoZ);

private:
    Camara(float ojoX, float ojoY, float ojoZ, float centroX, float centroY, float centroZ,
           float arribaX, float arribaY, float arribaZ, bool ortho);

    float ojoX, ojoY, ojoZ;
    float centroX, centroY, centroZ;
    float arribaX, arribaY, arribaZ;
    bool ortho;
    int contadorBalanceo = 0;
    int sentidoBalanceo = 0; // 0: toward +x, 1: toward −x
    float pasoX = 0.0f, pasoY = 0.0f, pasoZ = 0.0f;
    float lejos = 140.0f;
};
